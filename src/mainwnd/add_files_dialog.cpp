#include "mainwnd/add_files_dialog.h"

#include <QFileDialog>

QStringList AddFilesNameFilters() {
    // Qt separates the patterns of one filter by spaces.
    return {
        // "*.*" would hide names without a dot, which Linux files often have.
        QStringLiteral("ALL File (*)"),
        QStringLiteral("Media File (*.mp4 *.264)"),
        QStringLiteral("DX File (*.rm *.rmvb *.avi *.wmv *.asf)"),
    };
}

QStringList ChooseFilesToAdd(QWidget* pParent) {
    QFileDialog dialog(pParent);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(AddFilesNameFilters());
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

#include "merge_dialog_fixture.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "controls/orlin_message_box.h"
#include "samplegen/samplegen.h"

namespace {

void* KelsaModule() {
    // Built beside the test program, as beside the player.
    static void* s_pModule = dlopen(
        QDir(QCoreApplication::applicationDirPath()).filePath("libkelsa.so").toUtf8().constData(),
        RTLD_NOW | RTLD_LOCAL);
    return s_pModule;
}

}  // namespace

void MergeDialogTest::SetUp() {
    ASSERT_NE(KelsaModule(), nullptr) << dlerror();
    SetOrlinMessageBoxSink([this](const QString& strText) { m_messages.append(strText); });
    m_pDlg = std::make_unique<CFileMergeDlg>(nullptr, KelsaModule());
    m_pDlg->SetOpenFilesPicker([](QWidget*) {
        ADD_FAILURE() << "the file dialog opened";
        return QStringList();
    });
    m_pDlg->show();
}

void MergeDialogTest::TearDown() {
    m_pDlg.reset();
    SetOrlinMessageBoxSink(nullptr);
}

QString MergeDialogTest::Recording(const std::string& name, int frames) {
    const std::string path = m_folder.Path(name);
    if (!std::filesystem::exists(path)) {
        samplegen::SampleParams params;
        params.container = samplegen::Container::Mp4;
        params.width = 160;
        params.height = 120;
        params.frameCount = frames;
        params.audio = true;
        std::string error;
        EXPECT_TRUE(samplegen::WriteSample(path, params, &error)) << error;
    }
    return QString::fromStdString(path);
}

QString MergeDialogTest::Path(const std::string& name) const {
    return QString::fromStdString(m_folder.Path(name));
}

QStringList MergeDialogTest::FolderEntries() const {
    return QDir(QString::fromStdString(m_folder.Dir()))
        .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

void MergeDialogTest::Click(int nId) {
    auto* pButton = m_pDlg->findChild<QPushButton*>(QStringLiteral("button%1").arg(nId));
    ASSERT_NE(pButton, nullptr) << nId;
    QTest::mouseClick(pButton, Qt::LeftButton);
}

QStringList MergeDialogTest::TakeMessages() {
    QStringList messages;
    messages.swap(m_messages);
    return messages;
}

void MergeDialogTest::AddThroughPicker(const QStringList& paths) {
    m_pDlg->SetOpenFilesPicker([paths](QWidget*) { return paths; });
    Click(CFileMergeDlg::IDC_ADD_FILE);
}

void MergeDialogTest::ChooseOutput(const QString& strPath) {
    m_pDlg->SetSavePathPicker([strPath](QWidget*) { return strPath; });
    Click(CFileMergeDlg::IDC_BROWSE);
}

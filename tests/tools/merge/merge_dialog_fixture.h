#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <memory>
#include <string>

#include "sample_probe.h"
#include "tools/merge/file_merge_dlg.h"

// A shown merge dialog on the real merge library, with message boxes caught
// and recordings written for the test.
class MergeDialogTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A 160x120 MP4 of `frames` pictures at 25 per second (with sound).
    QString Recording(const std::string& name, int frames = 50);
    QString Path(const std::string& name) const;
    QStringList FolderEntries() const;

    void Click(int nId);
    // The messages shown since the last call.
    QStringList TakeMessages();
    // Lists files through Add File with the picker answering `paths`.
    void AddThroughPicker(const QStringList& paths);
    void ChooseOutput(const QString& strPath);

    std::unique_ptr<CFileMergeDlg> m_pDlg;
    QStringList m_messages;
    samplegen_test::TempFolder m_folder;
};

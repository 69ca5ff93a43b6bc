#include "MainWindow.h"
#include "ReplyFuzzBody.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(FuzzReplay, CorpusAndFormerFindingsPass)
{
    MainWindow window;
    ConnectClamps(window);
    int inputs = 0;
    for (const QString &folder : QString(FUZZ_INPUT_FOLDERS).split(':')) {
        for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files)) {
            QFile input(file.filePath());
            ASSERT_TRUE(input.open(QIODevice::ReadOnly));
            const QByteArray bytes = input.readAll();
            ++inputs;
            EXPECT_TRUE(FeedReplyBytes(window, Text(bytes.constData(), size_t(bytes.size()))))
                << file.filePath().toStdString();
        }
    }
    EXPECT_GT(inputs, 0) << "no inputs found in " << FUZZ_INPUT_FOLDERS;
}

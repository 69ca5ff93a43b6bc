#include "Gbk.h"
#include "InfoBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the given check on the box once it shows, from inside its own loop.
void WhenBoxShows(std::function<void(QMessageBox *)> act)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(box);
        }
    });
    poll->start();
}

} // namespace

TEST(InfoBox, ShowsTheTextWithCaptionAndOkOnly)
{
    const Text text = "<\xB4\xED\xCE\xF3> Port not open!";
    bool checked = false;
    WhenBoxShows([&](QMessageBox *box) {
        checked = true;
        EXPECT_EQ(QStringToGbk(box->windowTitle()), Text("Info: "));
        EXPECT_EQ(QStringToGbk(box->text()), text);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->parentWidget(), nullptr);
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->standardButton(box->buttons().front()), QMessageBox::Ok);
        box->buttons().front()->click();
    });
    ShowInfo(text);
    EXPECT_TRUE(checked);
}

TEST(InfoBox, AnAnswererGetsTheBytesInsteadOfABox)
{
    Text seen;
    SetInfoBoxAnswerer([&](const Text &text) { seen = text; });
    ShowInfo("\xB4\xAE\xBF\xDA" "CONN" "\xCA\xA7\xB0\xDC");
    SetInfoBoxAnswerer(nullptr);
    EXPECT_EQ(seen, Text("\xB4\xAE\xBF\xDA" "CONN" "\xCA\xA7\xB0\xDC"));
}

TEST(InfoBox, DismissingClosesTheBoxAndEveryLaterOne)
{
    WhenBoxShows([](QMessageBox *) { DismissInfoBoxes(); });
    ShowInfo("Connection failed!"); // returns only because the box was closed
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    int answered = 0;
    SetInfoBoxAnswerer([&](const Text &) { ++answered; });
    ShowInfo("READ          ");
    EXPECT_EQ(answered, 0);

    ResumeInfoBoxes();
    ShowInfo("READ          ");
    EXPECT_EQ(answered, 1);
    SetInfoBoxAnswerer(nullptr);
}

#include "MainWindow.h"
#include "TextHelpers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ControlEvents : public ::testing::Test
{
protected:
    MainWindow w;
};

} // namespace

TEST_F(ControlEvents, WriteRunsTheHandlerOnceAndBeforeReturning)
{
    int runs = 0;
    // Stands in for the clamp of the number boxes.
    QObject::connect(w.IntervalEdit, &EditBox::contentChanged, [&] {
        ++runs;
        if (TextToInt(w.IntervalEdit->Content()) > 10000)
            w.IntervalEdit->SetContent("10000");
    });

    w.IntervalEdit->SetContent("20000");
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(w.IntervalEdit->Content(), Text("10000"));

    w.IntervalEdit->SetContent("500");
    EXPECT_EQ(runs, 3);
    w.IntervalEdit->SetContent("500"); // the same text again is still a write
    EXPECT_EQ(runs, 4);
}

TEST_F(ControlEvents, SelectionWritesClampAndRaiseNoEvent)
{
    QSignalSpy selected(w.Com1BaudCombo, &ComboBox::itemSelected);
    QSignalSpy portSelected(w.PortCombo, &ComboBox::itemSelected);

    w.Com1BaudCombo->SetSelection(99);
    EXPECT_EQ(w.Com1BaudCombo->Selection(), 8);
    EXPECT_EQ(w.Com1BaudCombo->ItemText(w.Com1BaudCombo->Selection()), Text("230400"));
    w.Com1BaudCombo->SetSelection(-7);
    EXPECT_EQ(w.Com1BaudCombo->Selection(), -1);
    EXPECT_TRUE(w.Com1BaudCombo->currentText().isEmpty());

    w.PortCombo->Clear();
    EXPECT_EQ(w.PortCombo->Selection(), -1);
    w.PortCombo->SetSelection(0);
    EXPECT_EQ(w.PortCombo->Selection(), -1);
    EXPECT_EQ(w.PortCombo->AddItem("COM4", 4), 0);
    EXPECT_EQ(w.PortCombo->Selection(), -1); // adding never selects
    w.PortCombo->SetSelection(0);
    EXPECT_EQ(w.PortCombo->ItemValue(0), 4);
    EXPECT_EQ(w.PortCombo->ItemValue(1), -1);
    EXPECT_EQ(w.PortCombo->ItemText(-1), Text());

    QCoreApplication::processEvents();
    EXPECT_EQ(selected.count(), 0);
    EXPECT_EQ(portSelected.count(), 0);
}

TEST_F(ControlEvents, ListIsFilledBeforeItShowsAndOnlyAFinalChoiceCounts)
{
    w.show();
    ComboBox *combo = w.PortCombo;
    bool listWasShowing = true;
    int refreshes = 0;
    QObject::connect(combo, &ComboBox::aboutToDropDown, [&] {
        ++refreshes;
        listWasShowing = combo->view()->isVisible();
        combo->Clear();
        combo->AddItem("COM7", 7);
        combo->AddItem("COM2", 2);
        combo->SetSelection(0);
    });
    int selectionWhenDelivered = -2;
    bool deliveredInsideActivation = false;
    bool activating = false;
    QObject::connect(combo, &QComboBox::activated, [&] { activating = true; });
    QObject::connect(combo, &ComboBox::itemSelected, [&] {
        deliveredInsideActivation = activating;
        selectionWhenDelivered = combo->Selection();
    });
    QSignalSpy selected(combo, &ComboBox::itemSelected);

    // Opened and dismissed: the list was rebuilt, nothing was chosen.
    combo->showPopup();
    EXPECT_EQ(refreshes, 1);
    EXPECT_FALSE(listWasShowing);
    EXPECT_TRUE(combo->view()->isVisible());
    EXPECT_EQ(combo->view()->model()->rowCount(), 2);
    QTest::keyClick(combo->view(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_EQ(selected.count(), 0);
    EXPECT_TRUE(w.isVisible()); // Escape in the open list only closes the list

    // Opened and the second port chosen: one event, after the choice.
    combo->showPopup();
    EXPECT_EQ(refreshes, 2);
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    activating = false;
    EXPECT_EQ(selected.count(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(selected.count(), 1);
    EXPECT_FALSE(deliveredInsideActivation);
    EXPECT_EQ(selectionWhenDelivered, 1);
}

TEST_F(ControlEvents, TheOpenedBaudListShowsEveryRate)
{
    w.show();
    w.Com4BaudCombo->showPopup();
    QAbstractItemView *list = w.Com4BaudCombo->view();
    ASSERT_TRUE(list->isVisible());
    EXPECT_GE(w.Com4BaudCombo->height() + list->window()->height(), 160);
    EXPECT_TRUE(list->visualRect(list->model()->index(8, 0)).bottom() <= list->viewport()->height());
    w.Com4BaudCombo->hidePopup();
}

TEST_F(ControlEvents, ProgramWritesReadBackByteForByte)
{
    // Bytes that are not valid GBK, a lone lead byte at the end included.
    const Text samples[] = {"SEND \xB4\xC5\xA5", "\x80\xFF" "abc", "<\xB4\xED\xCE\xF3>", "+++@@@AAA=?\r\n", "\xA3"};
    for (const Text &bytes : samples) {
        SCOPED_TRACE(bytes);
        w.ReceiveTextEdit->SetContent(bytes);
        EXPECT_EQ(w.ReceiveTextEdit->Content(), bytes);
        w.VersionEdit->SetContent(bytes); // disabled, and still shows what is written
        EXPECT_EQ(w.VersionEdit->Content(), bytes);
        w.SendButton->SetCaption(bytes);
        EXPECT_EQ(w.SendButton->Caption(), bytes);
        w.HintLabel->SetCaption(bytes);
        EXPECT_EQ(w.HintLabel->Caption(), bytes);
        const int index = w.PortCombo->AddItem(bytes, 5);
        EXPECT_EQ(w.PortCombo->ItemText(index), bytes);
    }
}

TEST_F(ControlEvents, TypedInputIsFilteredPastesAreNot)
{
    w.show();
    int changes = 0;
    QObject::connect(w.IntervalEdit, &EditBox::contentChanged, [&] { ++changes; });

    QTest::keyClicks(w.IntervalEdit, "1a2 B-3.");
    EXPECT_EQ(w.IntervalEdit->Content(), Text("12-3"));
    EXPECT_EQ(changes, 4);
    QTest::keyClick(w.IntervalEdit, Qt::Key_Backspace);
    EXPECT_EQ(w.IntervalEdit->Content(), Text("12-"));

    QTest::keyClicks(w.SendTextEdit, "ab 1");
    EXPECT_EQ(w.SendTextEdit->Content(), Text("ab 1"));

    // A paste goes in unfiltered and reads back as its GBK bytes.
    w.IntervalEdit->SetContent("");
    QApplication::clipboard()->setText(QString::fromUtf8("\xEF\xBC\x95\xEF\xBC\x90\xEF\xBC\x90")); // full-width 500
    QTest::keyClick(w.IntervalEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.IntervalEdit->Content(), Text("\xA3\xB5\xA3\xB0\xA3\xB0"));
    w.TimeoutEdit->SetContent("");
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(w.TimeoutEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.TimeoutEdit->Content(), Text("abc"));

    // The program's own writes are never filtered.
    w.TimeoutEdit->SetContent("x-1y");
    EXPECT_EQ(w.TimeoutEdit->Content(), Text("x-1y"));
}

TEST(WindowEscape, ClosesTheWindowFromAnyControl)
{
    const char *const names[] = {"SendTextEdit", "IntervalEdit", "PortCombo", "Com1BaudCombo", "ConnButton"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(names[i]);
        MainWindow w;
        QWidget *const controls[] = {w.SendTextEdit, w.IntervalEdit, w.PortCombo, w.Com1BaudCombo, w.ConnButton};
        QWidget *control = controls[i];
        QSignalSpy closing(&w, &MainWindow::closing);
        w.show();
        QApplication::setActiveWindow(&w);
        control->setFocus();
        QTest::keyClicks(w.SendTextEdit, "typing");
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(closing.count(), 1);
    }
}

#include "Gbk.h"
#include "MainWindow.h"

#include <QFontInfo>

#include <gtest/gtest.h>

#include <vector>

namespace {

enum class Kind { Label, Button, Edit, Combo, Check, Frame };

struct ControlRow
{
    const char *name;
    QWidget *control;
    Kind kind;
    QWidget *parent;
    QRect geometry;
    Text startText;
    bool enabled;
    bool tabStop;
    int fontPixels;
};

// The window as it must look when it has just been built.
std::vector<ControlRow> LayoutTable(MainWindow &w)
{
    QWidget *const top = &w;
    return {
        {"HintLabel", w.HintLabel, Kind::Label, top, {32, 16, 264, 24}, "Connect in first 5 sec (all LED ON)      ", true, false, 13},
        {"VersionLabel", w.VersionLabel, Kind::Label, top, {400, 56, 64, 32}, "Version ", true, false, 16},
        {"VersionEdit", w.VersionEdit, Kind::Edit, top, {464, 56, 88, 32}, "", false, true, 16},
        {"PortLabel", w.PortLabel, Kind::Label, w.TopFrame, {16, 20, 56, 24}, "PORT    ", true, false, 16},
        {"PortCombo", w.PortCombo, Kind::Combo, w.TopFrame, {80, 18, 88, 32}, "COM3", true, true, 16},
        {"ConnButton", w.ConnButton, Kind::Button, w.TopFrame, {176, 16, 64, 32}, "CONN", true, true, 16},
        {"TopFrame", w.TopFrame, Kind::Frame, top, {32, 40, 264, 64}, "", true, false, 16},
        {"Com1BaudLabel", w.Com1BaudLabel, Kind::Label, w.SettingsFrame, {40, 16, 104, 32}, "COM1 BAUD   ", true, false, 16},
        {"Com1BaudCombo", w.Com1BaudCombo, Kind::Combo, w.SettingsFrame, {152, 16, 88, 32}, "", true, true, 16},
        {"Com1ParityLabel", w.Com1ParityLabel, Kind::Label, w.SettingsFrame, {40, 64, 104, 32}, "COM1 PARITY ", true, false, 16},
        {"Com1ParityCombo", w.Com1ParityCombo, Kind::Combo, w.SettingsFrame, {152, 64, 88, 32}, "", true, true, 16},
        {"Com2BaudLabel", w.Com2BaudLabel, Kind::Label, w.SettingsFrame, {40, 112, 104, 32}, "COM2 BAUD   ", true, false, 16},
        {"Com2BaudCombo", w.Com2BaudCombo, Kind::Combo, w.SettingsFrame, {152, 112, 88, 32}, "", true, true, 16},
        {"Com2ParityLabel", w.Com2ParityLabel, Kind::Label, w.SettingsFrame, {40, 160, 104, 32}, "COM2 PARITY ", true, false, 16},
        {"Com2ParityCombo", w.Com2ParityCombo, Kind::Combo, w.SettingsFrame, {152, 160, 88, 32}, "", true, true, 16},
        {"Com3BaudLabel", w.Com3BaudLabel, Kind::Label, w.SettingsFrame, {40, 208, 104, 32}, "COM3 BAUD   ", true, false, 16},
        {"Com3BaudCombo", w.Com3BaudCombo, Kind::Combo, w.SettingsFrame, {152, 208, 88, 32}, "", true, true, 16},
        {"Com3ParityLabel", w.Com3ParityLabel, Kind::Label, w.SettingsFrame, {40, 256, 104, 32}, "COM3 PARITY ", true, false, 16},
        {"Com3ParityCombo", w.Com3ParityCombo, Kind::Combo, w.SettingsFrame, {152, 256, 88, 32}, "", true, true, 16},
        {"ReadButton", w.ReadButton, Kind::Button, w.SettingsFrame, {328, 208, 64, 32}, "READ", true, true, 16},
        {"SetButton", w.SetButton, Kind::Button, w.SettingsFrame, {408, 208, 64, 32}, "SET ", true, true, 16},
        {"IntervalLabel", w.IntervalLabel, Kind::Label, w.SettingsFrame, {296, 160, 88, 32}, "INTERVAL  ", true, false, 16},
        {"IntervalEdit", w.IntervalEdit, Kind::Edit, w.SettingsFrame, {384, 160, 88, 32}, "", true, true, 16},
        {"TimeoutLabel", w.TimeoutLabel, Kind::Label, w.SettingsFrame, {296, 112, 88, 32}, " TIMEOUT  ", true, false, 16},
        {"TimeoutEdit", w.TimeoutEdit, Kind::Edit, w.SettingsFrame, {384, 112, 88, 32}, "", true, true, 16},
        {"Com4ParityLabel", w.Com4ParityLabel, Kind::Label, w.SettingsFrame, {272, 64, 104, 32}, "COM4 PARITY ", true, false, 16},
        {"Com4ParityCombo", w.Com4ParityCombo, Kind::Combo, w.SettingsFrame, {384, 64, 88, 32}, "", true, true, 16},
        {"Com4BaudLabel", w.Com4BaudLabel, Kind::Label, w.SettingsFrame, {272, 16, 104, 32}, "COM4 BAUD   ", true, false, 16},
        {"Com4BaudCombo", w.Com4BaudCombo, Kind::Combo, w.SettingsFrame, {384, 16, 88, 32}, "", true, true, 16},
        {"SettingsFrame", w.SettingsFrame, Kind::Frame, top, {32, 120, 520, 304}, "", true, false, 16},
        {"AddCrCheck", w.AddCrCheck, Kind::Check, w.TerminalFrame, {352, 20, 96, 24}, "ADD <CR>  ", false, true, 13},
        {"TerminalFrame", w.TerminalFrame, Kind::Frame, top, {40, 440, 520, 96}, "", true, false, 16},
        {"SendButton", w.SendButton, Kind::Button, w.TerminalFrame, {448, 40, 64, 32}, "SEND", true, true, 15},
        {"SendDataLabel", w.SendDataLabel, Kind::Label, w.TerminalFrame, {16, 16, 72, 30}, "Send data ", true, false, 16},
        {"SendTextEdit", w.SendTextEdit, Kind::Edit, w.TerminalFrame, {96, 16, 248, 30}, "", true, true, 16},
        {"ReceiveDataLabel", w.ReceiveDataLabel, Kind::Label, w.TerminalFrame, {16, 50, 72, 30}, "Read data ", true, false, 16},
        {"ReceiveTextEdit", w.ReceiveTextEdit, Kind::Edit, w.TerminalFrame, {96, 50, 336, 30}, "", true, true, 16},
    };
}

bool IsKind(QWidget *control, Kind kind)
{
    switch (kind) {
    case Kind::Label: return qobject_cast<Label *>(control) != nullptr;
    case Kind::Button: return qobject_cast<Button *>(control) != nullptr;
    case Kind::Edit: return qobject_cast<EditBox *>(control) != nullptr;
    case Kind::Combo: return qobject_cast<ComboBox *>(control) != nullptr;
    case Kind::Check: return qobject_cast<CheckBox *>(control) != nullptr;
    case Kind::Frame: return qobject_cast<Frame *>(control) != nullptr;
    }
    return false;
}

Text ShownText(QWidget *control)
{
    if (auto *label = qobject_cast<Label *>(control))
        return label->Caption();
    if (auto *button = qobject_cast<Button *>(control))
        return button->Caption();
    if (auto *edit = qobject_cast<EditBox *>(control))
        return edit->Content();
    if (auto *combo = qobject_cast<ComboBox *>(control))
        return combo->ItemText(combo->Selection());
    if (auto *check = qobject_cast<CheckBox *>(control))
        return check->Caption();
    return {};
}

std::vector<Text> Items(const ComboBox *combo)
{
    std::vector<Text> items;
    for (int i = 0; i < combo->count(); ++i)
        items.push_back(combo->ItemText(i));
    return items;
}

} // namespace

TEST(WindowLayout, EveryControlAsTheTableSays)
{
    MainWindow w;
    const std::vector<ControlRow> table = LayoutTable(w);
    for (const ControlRow &row : table) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(row.control, nullptr);
        EXPECT_TRUE(IsKind(row.control, row.kind));
        EXPECT_EQ(row.control->parentWidget(), row.parent);
        EXPECT_EQ(row.control->geometry(), row.geometry);
        EXPECT_EQ(ShownText(row.control), row.startText);
        EXPECT_EQ(row.control->isEnabled(), row.enabled);
        EXPECT_EQ(bool(row.control->focusPolicy() & Qt::TabFocus), row.tabStop);
        EXPECT_EQ(row.control->font().pixelSize(), row.fontPixels);
        EXPECT_FALSE(row.control->isHidden());
    }

    // Nothing more than the table: no stray control on the window.
    const auto shown = w.findChildren<QWidget *>(QString(), Qt::FindChildrenRecursively);
    int controls = 0;
    for (QWidget *child : shown) {
        for (Kind kind : {Kind::Label, Kind::Button, Kind::Edit, Kind::Combo, Kind::Check, Kind::Frame})
            controls += IsKind(child, kind) ? 1 : 0;
    }
    EXPECT_EQ(controls, int(table.size()));
}

TEST(WindowLayout, ComboItemsAndSettings)
{
    MainWindow w;
    const std::vector<Text> baud = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400"};
    const std::vector<Text> parity = {"none", "odd", "even"};
    for (ComboBox *combo : {w.Com1BaudCombo, w.Com2BaudCombo, w.Com3BaudCombo, w.Com4BaudCombo})
        EXPECT_EQ(Items(combo), baud);
    for (ComboBox *combo : {w.Com1ParityCombo, w.Com2ParityCombo, w.Com3ParityCombo, w.Com4ParityCombo})
        EXPECT_EQ(Items(combo), parity);

    EXPECT_EQ(Items(w.PortCombo), (std::vector<Text>{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"}));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(w.PortCombo->ItemValue(i), i + 1);
    for (ComboBox *combo : w.findChildren<ComboBox *>())
        EXPECT_FALSE(combo->isEditable());

    EXPECT_TRUE(w.AddCrCheck->isChecked());
    EXPECT_EQ(w.HintLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(w.VersionLabel->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    for (EditBox *centred : {w.VersionEdit, w.IntervalEdit, w.TimeoutEdit})
        EXPECT_EQ(centred->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    for (EditBox *left : {w.SendTextEdit, w.ReceiveTextEdit})
        EXPECT_EQ(left->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    for (QPushButton *button : w.findChildren<QPushButton *>())
        EXPECT_FALSE(button->isDefault() || button->autoDefault());
}

TEST(WindowLayout, TitleFrameAndFont)
{
    MainWindow w;
    EXPECT_EQ(QStringToGbk(w.windowTitle()), Text("TQ-5520 V1.00eng     "));
    EXPECT_EQ(w.size(), QSize(590, 588));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    const Qt::WindowFlags flags = w.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    // The face asked for first, and a CJK face that is really there behind it.
    EXPECT_EQ(QStringToGbk(w.font().families().value(0)), Text("\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA"));
    const QString used = QFontInfo(w.SendTextEdit->font()).family();
    EXPECT_TRUE(used.contains(QLatin1String("WenQuanYi")) || used.contains(QLatin1String("YaHei"))) << used.toStdString();
}

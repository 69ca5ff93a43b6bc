#include "Commands.h"
#include "MainWindow.h"
#include "Operations.h"
#include "Parsing.h"

#include <gtest/gtest.h>

namespace {

// A window whose number boxes clamp, as the tool wires them, and which starts
// from values that no case below writes, so that "unchanged" shows.
class ParseConfigReplyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QObject::connect(window.TimeoutEdit, &EditBox::contentChanged, [this] { OnTimeoutChanged(window); });
        QObject::connect(window.IntervalEdit, &EditBox::contentChanged, [this] { OnIntervalChanged(window); });
        Reset();
    }

    void Reset()
    {
        for (ComboBox *combo : Channels())
            combo->SetSelection(1);
        window.TimeoutEdit->SetContent("111");
        window.IntervalEdit->SetContent("222");
    }

    std::vector<ComboBox *> Channels()
    {
        return {window.Com1BaudCombo, window.Com1ParityCombo, window.Com2BaudCombo, window.Com2ParityCombo,
                window.Com3BaudCombo, window.Com3ParityCombo, window.Com4BaudCombo, window.Com4ParityCombo};
    }

    std::vector<int> Selections()
    {
        std::vector<int> selections;
        for (ComboBox *combo : Channels())
            selections.push_back(combo->Selection());
        return selections;
    }

    MainWindow window;
};

const std::vector<int> Untouched = {1, 1, 1, 1, 1, 1, 1, 1};

} // namespace

TEST_F(ParseConfigReplyTest, WritesTheFieldsOntoTheControls)
{
    struct Case
    {
        Text reply;
        std::vector<int> selections;
        Text timeout;
        Text interval;
    };
    const Case cases[] = {
        {"+++@@@AAA=9600,none,19200,odd,38400,even,115200,none,500,1000\r\n",
         {3, 0, 4, 1, 5, 2, 7, 0}, "500", "1000\r\n"},
        // Containment, first table entry wins; no entry leaves no selection.
        {"+++@@@AAA=12000,NONE,1152000,xoddx,230400,Odd,2400,evenodd,0,10000",
         {0, -1, 7, 1, 8, -1, 1, 1}, "0", "10000"},
        // Leading bytes stay in the first field and are tolerated.
        {"\r\nnoise+++@@@AAA=1200,none,1200,none,1200,none,1200,none,1,2\r\n",
         {0, 0, 0, 0, 0, 0, 0, 0}, "1", "2\r\n"},
        // The clamps run on each written number.
        {"+++@@@AAA=9600,none,9600,none,9600,none,9600,none,20000,-5\r\n",
         {3, 0, 3, 0, 3, 0, 3, 0}, "10000", "0"},
        {"+++@@@AAA=9600,none,9600,none,9600,none,9600,none,99999999999,\xA3\xB2\xA3\xB0\xA3\xB0\xA3\xB0\xA3\xB0\r\n",
         {3, 0, 3, 0, 3, 0, 3, 0}, "10000", "10000"},
        {"+++@@@AAA=9600,none,9600,none,9600,none,9600,none,5abc,\xA3\xB5\xA3\xB0\xA3\xB0\r\n",
         {3, 0, 3, 0, 3, 0, 3, 0}, "5abc", "\xA3\xB5\xA3\xB0\xA3\xB0\r\n"},
        // Fields after the tenth are ignored.
        {"+++@@@AAA=9600,none,9600,none,9600,none,9600,none,500,1000,extra,4800\r\n",
         {3, 0, 3, 0, 3, 0, 3, 0}, "500", "1000"},
        // Fewer than ten fields: a missing value or a reply cut short changes nothing.
        {"+++@@@AAA=9600,,19200,odd,38400,even,115200,none,500,1000\r\n", Untouched, "111", "222"},
        {"+++@@@AAA=9600,none,19200,odd,38400,even,115200,none,50", Untouched, "111", "222"},
        {"+++@@@AAA=", Untouched, "111", "222"},
        {"", Untouched, "111", "222"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reply);
        Reset();
        ParseConfigReply(window, c.reply);
        EXPECT_EQ(Selections(), c.selections);
        EXPECT_EQ(window.TimeoutEdit->Content(), c.timeout);
        EXPECT_EQ(window.IntervalEdit->Content(), c.interval);
    }
}

TEST_F(ParseConfigReplyTest, WritesCombosThenTimeoutThenInterval)
{
    std::vector<int> selectionsAtTimeout;
    Text intervalAtTimeout;
    QObject::connect(window.TimeoutEdit, &EditBox::contentChanged, [&] {
        selectionsAtTimeout = Selections();
        intervalAtTimeout = window.IntervalEdit->Content();
    });
    ParseConfigReply(window, "+++@@@AAA=9600,none,19200,odd,38400,even,115200,none,500,1000");
    EXPECT_EQ(selectionsAtTimeout, (std::vector<int>{3, 0, 4, 1, 5, 2, 7, 0}));
    EXPECT_EQ(intervalAtTimeout, "222");
}

TEST(SplitFields, CutsByCharactersAndDropsEmptyPieces)
{
    struct Case
    {
        Text text;
        Text delimiter;
        std::vector<Text> fields;
    };
    const Case cases[] = {
        {"a,b,c", ",", {"a", "b", "c"}},
        {",a,,b,", ",", {"a", "b"}},
        {",,,", ",", {}},
        {"", ",", {}},
        {"abc", ",", {"abc"}},
        {"ab::cd::", "::", {"ab", "cd"}},
        // A comma that is the second byte of a double-byte character does not cut.
        {"x\x81,y,z", ",", {"x\x81,y", "z"}},
        {"\xB4\xAE,\xBF\xDA", ",", {"\xB4\xAE", "\xBF\xDA"}},
        {"a,\x81", ",", {"a", "\x81"}},
    };
    for (const Case &c : cases) {
        std::vector<Text> fields = {"left over"};
        EXPECT_EQ(SplitFields(c.text, c.delimiter, fields), int(c.fields.size())) << c.text;
        EXPECT_EQ(fields, c.fields) << c.text;
    }
}

TEST(FindText, GivesTheFirstBytePositionOrMinusOne)
{
    struct Case
    {
        Text text;
        Text sought;
        int position;
    };
    const Case cases[] = {
        {"abc", "a", 1},
        {"abcabc", "c", 3},
        {"xx+++@@@AAA=?", "+++@@@AAA=", 3},
        {"abc", "", -1},
        {"", "a", -1},
        {"", "", -1},
        {"Setting", "setting", -1},
        {"ab", "abc", -1},
        {"\x81\x41", "A", 2}, // plain bytes, as the device's replies are
    };
    for (const Case &c : cases)
        EXPECT_EQ(FindText(c.text, c.sought), c.position) << c.text << " / " << c.sought;
}

#include "Controls.h"

#include "Gbk.h"

#include <QKeyEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

namespace {

// Holds the bytes a program write gave, and reads them back as long as the
// control still shows what that write put there.
Text ReadBack(const QString &shownNow, const QString &shownAtWrite, const Text &bytesAtWrite)
{
    return shownNow == shownAtWrite ? bytesAtWrite : QStringToGbk(shownNow);
}

constexpr int ItemBytesRole = Qt::UserRole + 1;


} // namespace

Label::Label(QWidget *parent, const Text &caption)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFocusPolicy(Qt::NoFocus);
    SetCaption(caption);
}

void Label::SetCaption(const Text &caption)
{
    m_bytes = caption;
    m_shown = GbkToQString(caption);
    setText(m_shown);
}

Text Label::Caption() const
{
    return ReadBack(text(), m_shown, m_bytes);
}

Button::Button(QWidget *parent, const Text &caption)
    : QPushButton(parent)
{
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::StrongFocus);
    SetCaption(caption);
}

void Button::SetCaption(const Text &caption)
{
    m_bytes = caption;
    m_shown = GbkToQString(caption);
    setText(m_shown);
}

Text Button::Caption() const
{
    return ReadBack(text(), m_shown, m_bytes);
}

CheckBox::CheckBox(QWidget *parent, const Text &caption)
    : QCheckBox(GbkToQString(caption), parent)
    , m_bytes(caption)
{
    setFocusPolicy(Qt::StrongFocus);
}

Text CheckBox::Caption() const
{
    return m_bytes;
}

EditBox::EditBox(QWidget *parent, Border border)
    : QLineEdit(parent)
    , m_border(border)
{
    setFocusPolicy(Qt::StrongFocus);
    // The edge is drawn by paintEvent; the text keeps clear of it.
    setFrame(false);
    const int edge = border == Border::Sunken ? 2 : 1;
    setTextMargins(edge, edge, edge, edge);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::Disabled, QPalette::Base, colours.color(QPalette::Window));
    colours.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6d, 0x6d, 0x6d));
    // The recessed edge: grey and dark grey above and left, white and light
    // grey below and right.
    colours.setColor(QPalette::Dark, QColor(0xa0, 0xa0, 0xa0));
    colours.setColor(QPalette::Shadow, QColor(0x69, 0x69, 0x69));
    colours.setColor(QPalette::Light, Qt::white);
    colours.setColor(QPalette::Midlight, QColor(0xe3, 0xe3, 0xe3));
    setPalette(colours);

    // textEdited comes from the user only: typing, pasting, undo.
    connect(this, &QLineEdit::textEdited, this, [this] {
        m_shown = text();
        m_bytes = QStringToGbk(m_shown);
        emit contentChanged();
    });
}

Text EditBox::Content() const
{
    return ReadBack(text(), m_shown, m_bytes);
}

void EditBox::SetContent(const Text &content)
{
    m_bytes = content;
    m_shown = GbkToQString(content);
    setText(m_shown);
    emit contentChanged();
}

void EditBox::SetDigitsOnly(bool on)
{
    m_digitsOnly = on;
    // An input method would hand over composed text past the key filter.
    setAttribute(Qt::WA_InputMethodEnabled, !on);
}

void EditBox::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    if (m_border == Border::Sunken)
        qDrawWinPanel(&painter, rect(), palette(), true);
    else
        qDrawPlainRect(&painter, rect(), Qt::black, 1);
}

void EditBox::keyPressEvent(QKeyEvent *event)
{
    if (m_digitsOnly && !event->text().isEmpty()) {
        const QChar c = event->text().front();
        const bool printable = c.unicode() >= 32;
        const bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-');
        if (printable && !allowed && !(event->modifiers() & Qt::ControlModifier)) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

ComboBox::ComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
    QPalette white = palette();
    white.setColor(QPalette::Button, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::ButtonText, Qt::black);
    white.setColor(QPalette::Text, Qt::black);
    setPalette(white);
    // The opened list is long enough for the nine baud rates.
    setMaxVisibleItems(10);

    // Only a final choice of the user counts, and it is handled after the
    // list has closed.
    connect(this, &QComboBox::activated, this, [this] {
        QMetaObject::invokeMethod(this, &ComboBox::itemSelected, Qt::QueuedConnection);
    });
}

int ComboBox::Selection() const
{
    return currentIndex();
}

void ComboBox::SetSelection(int index)
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(std::clamp(index, -1, count() - 1));
}

int ComboBox::ItemValue(int index) const
{
    if (index < 0 || index >= count())
        return -1;
    return itemData(index).toInt();
}

Text ComboBox::ItemText(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const QByteArray bytes = itemData(index, ItemBytesRole).toByteArray();
    return Text(bytes.constData(), size_t(bytes.size()));
}

int ComboBox::AddItem(const Text &text, int value)
{
    const QSignalBlocker blocker(this);
    const int selected = currentIndex();
    addItem(GbkToQString(text), value);
    setCurrentIndex(selected); // adding never selects, not even the first item
    const int index = count() - 1;
    setItemData(index, QByteArray(text.data(), qsizetype(text.size())), ItemBytesRole);
    return index;
}

void ComboBox::Clear()
{
    const QSignalBlocker blocker(this);
    clear();
}

void ComboBox::showPopup()
{
    emit aboutToDropDown();
    QComboBox::showPopup();
}

Frame::Frame(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setMidLineWidth(0);
    setFocusPolicy(Qt::NoFocus);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);
}

#pragma once

#include "Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The window's controls. Each takes and gives the system's GBK byte texts and
// converts at its edge: what the program writes reads back byte for byte,
// what the user types reads back as its GBK bytes.

// One line, left-aligned, vertically centred, no border, not a tab stop.
class Label : public QLabel
{
    Q_OBJECT
public:
    Label(QWidget *parent, const Text &caption);
    void SetCaption(const Text &caption);
    Text Caption() const;
private:
    Text m_bytes;
    QString m_shown;
};

// A push button that is never a default button; caption centred.
class Button : public QPushButton
{
    Q_OBJECT
public:
    Button(QWidget *parent, const Text &caption);
    void SetCaption(const Text &caption);
    Text Caption() const;
private:
    Text m_bytes;
    QString m_shown;
};

// Box on the left, caption to its right, left-aligned and vertically centred.
class CheckBox : public QCheckBox
{
    Q_OBJECT
public:
    CheckBox(QWidget *parent, const Text &caption);
    Text Caption() const;
private:
    Text m_bytes;
};

// Single line, white background, black text.
class EditBox : public QLineEdit
{
    Q_OBJECT
public:
    enum class Border { SingleLine, Sunken };

    explicit EditBox(QWidget *parent, Border border = Border::SingleLine);
    Text Content() const;
    // Raises contentChanged exactly once; its handlers have run on return.
    void SetContent(const Text &content);
    // Typed characters limited to digits and minus; control keys pass, pastes
    // are not filtered.
    void SetDigitsOnly(bool on);

signals:
    void contentChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    Border m_border;
    Text m_bytes;
    QString m_shown;
    bool m_digitsOnly = false;
};

// A drop-down list that cannot be edited, items in insertion order, white.
class ComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent);
    int Selection() const;
    // Clamped to -1..count-1; -1 leaves nothing selected. Raises no event.
    void SetSelection(int index);
    int ItemValue(int index) const;  // -1 outside the list
    Text ItemText(int index) const;  // empty outside the list
    int AddItem(const Text &text, int value = 0);
    void Clear();
    // Every way of opening the list comes here.
    void showPopup() override;

signals:
    // Runs before the list shows.
    void aboutToDropDown();
    // A final user choice, delivered through the event queue.
    void itemSelected();
};

// A plain black outline one pixel wide, not filled, without a caption.
class Frame : public QFrame
{
    Q_OBJECT
public:
    explicit Frame(QWidget *parent);
};

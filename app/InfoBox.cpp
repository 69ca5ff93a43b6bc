#include "InfoBox.h"

#include "Gbk.h"

#include <QMessageBox>
#include <QPointer>

#include <vector>

namespace {

std::function<void(const Text &)> Answerer;
bool Dismissed = false;
// Boxes showing now; a box can open while another waits, from a timer or a
// received byte.
std::vector<QPointer<QMessageBox>> Showing;

} // namespace

void ShowInfo(const Text &text)
{
    if (Dismissed)
        return;
    if (Answerer) {
        Answerer(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, GbkToQString("Info: "), GbkToQString(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    Showing.push_back(&box);
    box.exec();
    std::erase_if(Showing, [&box](const QPointer<QMessageBox> &shown) { return shown.isNull() || shown == &box; });
}

void SetInfoBoxAnswerer(std::function<void(const Text &)> answerer)
{
    Answerer = std::move(answerer);
}

void DismissInfoBoxes()
{
    Dismissed = true;
    const std::vector<QPointer<QMessageBox>> showing = Showing;
    for (const QPointer<QMessageBox> &box : showing) {
        if (box)
            box->done(QMessageBox::Ok);
    }
}

void ResumeInfoBoxes()
{
    Dismissed = false;
}

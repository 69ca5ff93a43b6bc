#include "MainWindow.h"
#include "ReplyFuzzBody.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>

namespace {

MainWindow *window = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tq5520_fuzz_replies";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    window = new MainWindow;
    ConnectClamps(*window);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!FeedReplyBytes(*window, Text(reinterpret_cast<const char *>(data), size)))
        std::abort();
    return 0;
}

#pragma once

#include <QByteArray>
#include <QTemporaryDir>

#include <string>

// Points XDG_RUNTIME_DIR at a fresh folder with an empty port folder for the
// life of the object, so that a test never meets the links of a running
// simulator or of another test.
class TempPortFolder
{
public:
    TempPortFolder();
    ~TempPortFolder();
    TempPortFolder(const TempPortFolder &) = delete;
    TempPortFolder &operator=(const TempPortFolder &) = delete;

    // Links comN to the given path.
    void Link(int portNumber, const std::string &target);

private:
    QTemporaryDir m_runtime;
    QByteArray m_saved;
};

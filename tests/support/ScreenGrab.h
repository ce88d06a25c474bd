// For the programs that take screenshots for a person to look at: let the pending window
// work finish, then write a picture as PNG and say so on standard output.
#pragma once

#include <QCoreApplication>
#include <QPixmap>
#include <QString>
#include <QThread>
#include <QWidget>

#include <cstdio>
#include <filesystem>

namespace pendlar::test {

inline void Settle(int ms = 300) {
    for (int waited = 0; waited < ms; waited += 20) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
}

inline bool SavePicture(const QPixmap& pixmap, const std::filesystem::path& file) {
    const bool ok = pixmap.save(QString::fromStdString(file.string()));
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", file.c_str());
    return ok;
}

// The widget as it stands once the pending work is done.
inline bool SaveWidget(QWidget& widget, const std::filesystem::path& file) {
    Settle();
    return SavePicture(widget.grab(), file);
}

} // namespace pendlar::test

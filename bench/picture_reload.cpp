// The memory a picture load takes, read from outside with /usr/bin/time -v:
//   bench_picture_reload --make scan.png     writes a 6000 x 8000 scan (RGB)
//   bench_picture_reload scan.png 1          loads it once onto the canvas
//   bench_picture_reload scan.png 2          loads it, then loads it again
// The two loads' peak ("Maximum resident set size") against the one load's is
// what a reload costs. Each load's time is printed. Without arguments it does
// all three in child processes and prints both peaks (as `make bench` runs it).
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "ui/digitizer/digitizer_panel.h"
#include "ui/window/desktop.h"

namespace {

int MakeScan(const QString& path) {
    QImage scan(6000, 8000, QImage::Format_RGB32);
    scan.fill(QColor(236, 236, 230));
    QPainter painter(&scan);
    painter.setPen(QPen(QColor(20, 20, 120), 6));
    for (int k = 0; k < 10; ++k) {
        painter.drawLine(400, 7600 - 500 * k, 5600, 7000 - 600 * k);
    }
    painter.end();
    return scan.save(path) ? 0 : 1;
}

// This program run with `first` and `second` in a child process: its peak
// resident memory in kB, or -1 when it failed.
long PeakOfChild(const char* self, const char* first, const char* second) {
    const pid_t child = fork();
    if (child == 0) {
        execl(self, self, first, second, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

int MeasureAll(const char* self) {
    const QTemporaryDir dir;
    const QByteArray scan = dir.filePath("scan.png").toLocal8Bit();
    if (!dir.isValid() || PeakOfChild(self, "--make", scan.constData()) < 0) return 1;
    const long once = PeakOfChild(self, scan.constData(), "1");
    const long twice = PeakOfChild(self, scan.constData(), "2");
    if (once <= 0 || twice <= 0) return 1;
    std::printf("peak, one load: %ld kB; load and reload: %ld kB (%.2f times)\n", once, twice,
                static_cast<double>(twice) / static_cast<double>(once));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1) return MeasureAll(argv[0]);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s [--make FILE | FILE LOADS]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (QString(argv[1]) == "--make") return MakeScan(argv[2]);

    kx::ui::Workspace workspace;
    kx::ui::Desktop desktop(workspace);
    const int loads = std::atoi(argv[2]);
    for (int k = 1; k <= loads; ++k) {
        QElapsedTimer timer;
        timer.start();
        const QString failure = desktop.panel().LoadPictureFile(argv[1]);
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "load %d: %s\n", k, qPrintable(failure));
            return 1;
        }
        std::printf("load %d: %lld ms\n", k, static_cast<long long>(timer.elapsed()));
    }
    return 0;
}

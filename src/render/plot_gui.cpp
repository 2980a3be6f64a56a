#include "render/plot_gui.h"

#include <QGuiApplication>
#include <QtGlobal>

#include <clocale>
#include <cstdio>

namespace kx::render {

PlotGui::PlotGui(const char* programName) : arguments_{programName, "-platform", "offscreen"} {
    // A platform given on the command line outranks QT_QPA_PLATFORM.
    for (std::string& argument : arguments_) argv_.push_back(argument.data());
    argv_.push_back(nullptr);
    argc_ = static_cast<int>(arguments_.size());
    const std::string locale = std::setlocale(LC_ALL, nullptr);
    // The toolkit's remarks on the session while it starts (no runtime
    // folder, for instance) are no concern of a program without windows and
    // would only clutter its messages; a fatal failure still ends it.
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
        });
    app_ = std::make_unique<QGuiApplication>(argc_, argv_.data());
    qInstallMessageHandler(previous);
    std::setlocale(LC_ALL, locale.c_str());
}

PlotGui::~PlotGui() = default;

}  // namespace kx::render

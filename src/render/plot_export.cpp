#include "render/plot_export.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>

#include "core/data/numeric_text.h"
#include "core/files/atomic_file.h"
#include "core/plot/plot_contents.h"
#include "render/plot_painter.h"

namespace kx::render {
namespace {

// An SVG drawing is the plot layout itself, one unit per drawing unit, at the
// screen's 96 dpi; a PNG picture is that layout at twice the resolution.
constexpr int kLayoutWidth = 750;
constexpr int kLayoutHeight = 790;
constexpr double kSvgDpi = 96.0;
constexpr int kPngScale = 2;
constexpr double kMetresPerInch = 0.0254;
constexpr double kPdfMarginMm = 15.0;
constexpr const char* kDocumentTitle = "解析グラフのプロット";
constexpr const char* kCreator = "Kuvatelix";

bool EndsWith(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size()) return false;
    return std::equal(
        suffix.begin(), suffix.end(), name.end() - suffix.size(),
        [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

void DrawPlot(core::PlotSurface& surface, bool toPrinter, core::DataSet& data,
              const core::FitResults& results, const PlotFileContents& contents) {
    const core::PlotPass pass = core::DrawAnalysisPlot(data, results, contents.fitCurrent,
                                                       contents.settings, toPrinter, surface);
    if (contents.parameterLabels) core::DrawParameterLabels(data, pass.frame, surface);
}

// Paints on a device: false when the painter cannot start or finish.
bool Paint(QPaintDevice& device, const std::function<void(QPainter&)>& draw) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    draw(painter);
    return painter.end();
}

std::optional<QByteArray> Render(PlotFileFormat format, core::DataSet& data,
                                 const core::FitResults& results,
                                 const PlotFileContents& contents) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    switch (format) {
        case PlotFileFormat::kPdf: {
            // One A4 page, drawn as the printer draws it.
            QPdfWriter writer(&buffer);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(
                QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                QPageLayout::Millimeter);
            writer.setTitle(QString::fromUtf8(kDocumentTitle));
            writer.setCreator(QString::fromUtf8(kCreator));
            drawn = Paint(writer, [&](QPainter& painter) {
                PainterSurface surface = PaperSurface(painter, writer);
                DrawPlot(surface, true, data, results, contents);
            });
            break;
        }
        case PlotFileFormat::kSvg: {
            QSvgGenerator generator;
            generator.setOutputDevice(&buffer);
            generator.setSize(QSize(kLayoutWidth, kLayoutHeight));
            generator.setViewBox(QRect(0, 0, kLayoutWidth, kLayoutHeight));
            generator.setResolution(static_cast<int>(kSvgDpi));
            generator.setTitle(QString::fromUtf8(kDocumentTitle));
            drawn = Paint(generator, [&](QPainter& painter) {
                PainterSurface surface(painter, QRectF(0, 0, kLayoutWidth, kLayoutHeight), 1.0,
                                       false);
                DrawPlot(surface, false, data, results, contents);
            });
            break;
        }
        case PlotFileFormat::kPng: {
            QImage image(kPngScale * kLayoutWidth, kPngScale * kLayoutHeight,
                         QImage::Format_RGB32);
            if (image.isNull()) return std::nullopt;
            const int dotsPerMetre =
                static_cast<int>(std::lround(kPngScale * kSvgDpi / kMetresPerInch));
            image.setDotsPerMeterX(dotsPerMetre);
            image.setDotsPerMeterY(dotsPerMetre);
            drawn = Paint(image, [&](QPainter& painter) {
                PainterSurface surface = ImageSurface(painter, image);
                DrawPlot(surface, false, data, results, contents);
            });
            drawn = drawn && image.save(&buffer, "PNG");
            break;
        }
    }
    if (!drawn || bytes.isEmpty()) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<PlotFileFormat> PlotFileFormatOf(std::string_view path) {
    if (EndsWith(path, ".pdf")) return PlotFileFormat::kPdf;
    if (EndsWith(path, ".svg")) return PlotFileFormat::kSvg;
    if (EndsWith(path, ".png")) return PlotFileFormat::kPng;
    return std::nullopt;
}

PlotFileResult ExportAnalysisPlot(const std::string& path, core::DataSet& data,
                                  const core::FitResults& results,
                                  const PlotFileContents& contents) {
    const std::optional<PlotFileFormat> format = PlotFileFormatOf(path);
    if (!format) return {PlotFileStatus::kUnknownFormat, {}};
    const std::optional<QByteArray> bytes = Render(*format, data, results, contents);
    if (!bytes) return {PlotFileStatus::kNotDrawn, {}};
    core::FileOutcome written = core::WriteFileAtomically(
        path, std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    if (written.status != core::FileStatus::kOk) {
        return {PlotFileStatus::kCannotWrite, std::move(written)};
    }
    return {};
}

PlotFileResult WriteFamilyPlot(const std::string& path, core::DataSet& data,
                               const core::FitResults& results, const core::PlotSettings& settings,
                               bool parameterLabels) {
    if (!PlotFileFormatOf(path)) return {PlotFileStatus::kUnknownFormat, {}};
    // The limits as the window's boxes would show them after opening.
    const core::PointBounds range = core::PlotOpeningRange(data, settings);
    PlotFileContents contents{settings, true, parameterLabels};
    contents.settings.xMinText = core::SingleToPlainText(range.xMin);
    contents.settings.xMaxText = core::SingleToPlainText(range.xMax);
    if (!core::PlotRequestAccepted(contents.settings)) return {PlotFileStatus::kRefused, {}};
    return ExportAnalysisPlot(path, data, results, contents);
}

}  // namespace kx::render

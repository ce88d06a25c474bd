// The chart PDF composition: zero, one or two header pages that print the chart header
// data as a paper-chart form, then one page per scanned page image, re-encoded as JPEG,
// with the page's notes as a text annotation and its bookmark title as an outline entry.
// The finished file opens at its last image page with the outline pane shown.
//
// The layouts are designed once, when the composer is made, and refilled for every chart.
// The page images are decoded, fitted and encoded on worker threads while the document is
// assembled page by page on the calling thread; the bytes are the same as with no worker.
#pragma once

#include "pdf/PRAnnotation.h"
#include "pdf/PRJpegImage.h"
#include "pdf/PReport.h"
#include "pdf/chart/ChartPdfSource.h"
#include "pdf/chart/HeaderLayouts.h"
#include "pdf/chart/HeaderTexts.h"
#include "pdf/chart/PageImage.h"

#include <memory>
#include <optional>
#include <string>

namespace pendlar {

class TCaruteDate;
class TDicomImage;
class TRegistory;
class UserInterface;

class ChartPdfComposer {
public:
    // `dicom` is the program's DICOM reader (nullptr: the composer keeps one of its own).
    ChartPdfComposer(const TRegistory& settings, TCaruteDate& calendar, UserInterface& ui,
                     TDicomImage* dicom = nullptr);
    ~ChartPdfComposer();
    ChartPdfComposer(const ChartPdfComposer&) = delete;
    ChartPdfComposer& operator=(const ChartPdfComposer&) = delete;

    // Copied from PdfPageWidth and PdfPageHeight by the caller before each document.
    int PageWidth = 700;
    int PageHeight = 1000;
    // Worker threads for the page images: 0 one per processor, 1 none.
    int Threads = 0;
    // The date the age on the header pages is counted to; unset: today.
    std::optional<TDateTime> Today;

    // Writes the chart to the Shift-JIS path, replacing a file of that name once complete.
    // Throws the error of the PDF writer or of the file system; nothing is written then.
    void WriteChartPdf(const std::string& sjisPath, const ChartPdfSource& source);

    // The header pages of the header kind (HeaderOut 1: outpatient and back page, 2:
    // inpatient and back page; anything else: none).
    void PrintHeaderPages(const ChartPdfSource& source);
    // The image pages of the page list, in list order.
    void PrintImagePages(const ChartPdfSource& source);

    // The designed report and pages.
    TPReport PReport1;
    TPRPage PRGairai, PRNyuin, PRNext, PRImagePage;
    TPRLayoutPanel* PRImageLayout = nullptr;
    TPRJpegImage* PRJpegImage1 = nullptr;
    TPRAnnotation* PRAnnotation1 = nullptr;

    // Working state of the document being written.
    int AvailableWidth = 634;
    int AvailableHeight = 934;
    bool StretchImage = false;
    int ImageQuality = 80;
    std::string CurrentImagePath;
    TPRDestination* PageDestination = nullptr;

private:
    void PRImagePagePrintPage(TPRPage& sender, TPRCanvas& canvas);
    void FillHeaderPage(const HeaderPageItems& items, const HeaderTexts& texts);
    // The lines of a memo, each cut into pieces that fit the memo's width.
    std::vector<std::string> WrapLines(std::string_view text, const TPRText& memo);
    std::optional<Bitmap> LoadDicom(const std::string& path);

    const TRegistory& settings_;
    TCaruteDate& calendar_;
    UserInterface& ui_;
    TDicomImage* dicom_;
    std::unique_ptr<TDicomImage> ownDicom_;
    HeaderPageItems gairai_, nyuin_, next_;
    TPdfDoc measure_; // measures memo lines; never written
};

} // namespace pendlar

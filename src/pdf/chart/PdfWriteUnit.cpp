#include "pdf/chart/PdfWriteUnit.h"

#include "intake/DicomImage.h"
#include "pdf/chart/PageImageQueue.h"
#include "settings/Registory.h"
#include "util/CaruteDate.h"
#include "util/FileSystem.h"
#include "util/Sjis.h"
#include "util/TextHelpers.h"
#include "util/UserInterface.h"

#include <cmath>

namespace pendlar {
namespace {

// 17 November 2006 14:25:06, the creation date every chart PDF carries.
constexpr TDateTime kChartCreationDate = 39038.6007678588;

// Stretching enlarges small pages; beyond this many pixels the page size is not sensible.
constexpr std::int64_t kMaxPagePixels = 50'000'000;

bool IsDicomFile(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".dcm") == 0;
}

} // namespace

ChartPdfComposer::ChartPdfComposer(const TRegistory& settings, TCaruteDate& calendar,
                                   UserInterface& ui, TDicomImage* dicom)
    : settings_(settings), calendar_(calendar), ui_(ui), dicom_(dicom) {
    PReport1.SetTitle(SjisOf("ペンドラー"));
    PReport1.SetSubject(SjisOf("カルテ"));
    PReport1.SetKeywords("Quilmo");
    PReport1.SetPageMode(pmUseOutlines);
    PReport1.SetUseOutlines(true);
    PReport1.SetCreationDate(kChartCreationDate);

    gairai_ = BuildHeaderPage(GairaiDesign(), PRGairai);
    nyuin_ = BuildHeaderPage(NyuinDesign(), PRNyuin);
    next_ = BuildHeaderPage(NextDesign(), PRNext);

    PRImagePage.SetName("PRImagePage");
    PRImagePage.SetBounds(0, 0, PageWidth, PageHeight);
    PRImageLayout = PRImagePage.Add<TPRLayoutPanel>("PRImageLayout");
    PRImageLayout->SetAlign(TAlign::alClient);
    PRJpegImage1 = PRImageLayout->Add<TPRJpegImage>("PRJpegImage1");
    PRJpegImage1->SetBounds(0, 24, 100, 100);
    PRJpegImage1->Stretch = false;
    // Every image page gets an image object of its own.
    PRJpegImage1->SharedImage = false;
    PRAnnotation1 = PRImageLayout->Add<TPRAnnotation>("PRAnnotation1");
    PRAnnotation1->SetBounds(640, 64, 100, 30);
    PRAnnotation1->Caption = "PRAnnotation1";
    PRAnnotation1->Opened = false;
    PRImagePage.OnPrintPage = [this](TPRPage& sender, TPRCanvas& canvas) {
        PRImagePagePrintPage(sender, canvas);
    };

    measure_.NewDoc();
    measure_.AddPage();
    measure_.GetCanvas()->SetVirtual(true);
}

ChartPdfComposer::~ChartPdfComposer() = default;

void ChartPdfComposer::WriteChartPdf(const std::string& sjisPath, const ChartPdfSource& source) {
    PRImagePage.SetBounds(0, 0, PageWidth, PageHeight);
    AvailableWidth = std::max(PageWidth - 66, 1);
    AvailableHeight = std::max(PageHeight - 66, 1);
    StretchImage = settings_.Stretch;
    if (StretchImage &&
        static_cast<std::int64_t>(AvailableWidth) * AvailableHeight > kMaxPagePixels)
        throw EPdfInvalidValue("the page size is too large for its images: " +
                               std::to_string(PageWidth) + " x " + std::to_string(PageHeight));

    PReport1.FileName = sjisPath;
    PReport1.BeginDoc();
    try {
        ImageQuality = settings_.Quality;
        ui_.SetStatus(1, SjisOf("少々お待ちください。"));
        ui_.ProcessEvents();
        if (source.FilingMode() == ChartFilingMode::Add) {
            if (settings_.PdfHeader)
                PrintHeaderPages(source);
            if (settings_.PdfImage)
                PrintImagePages(source);
        } else {
            PrintHeaderPages(source);
            PrintImagePages(source);
        }
    } catch (...) {
        PReport1.AbortDoc();
        PageDestination = nullptr;
        throw;
    }
    PageDestination = nullptr;
    PReport1.EndDoc();
}

void ChartPdfComposer::PrintHeaderPages(const ChartPdfSource& source) {
    const int kind = settings_.HeaderOut;
    if (kind != 1 && kind != 2)
        return;
    const TDateTime today = Today ? *Today : std::floor(Now());
    const HeaderTexts texts =
        PrepareHeaderTexts(source.Record(), source.Lookups(), calendar_, today);
    if (kind == 1) {
        FillHeaderPage(gairai_, texts);
        FillHeaderPage(next_, texts);
        PReport1.PrintPage(PRGairai);
    } else {
        FillHeaderPage(nyuin_, texts);
        FillHeaderPage(next_, texts);
        PReport1.PrintPage(PRNyuin);
    }
    PReport1.PrintPage(PRNext);
}

void ChartPdfComposer::FillHeaderPage(const HeaderPageItems& items, const HeaderTexts& texts) {
    for (const auto& [name, label] : items.Fields) {
        auto found = texts.find(name);
        label->Caption = found == texts.end() ? std::string() : found->second;
    }
    for (const auto& [name, memo] : items.Memos) {
        auto found = texts.find(name);
        memo->Lines = WrapLines(found == texts.end() ? std::string_view() : found->second, *memo);
    }
}

std::vector<std::string> ChartPdfComposer::WrapLines(std::string_view text, const TPRText& memo) {
    // A memo typed without blanks (as Japanese is) would otherwise be one word, cut at the
    // right edge and lost: each line is broken where it reaches the edge, after the last
    // blank before it when there is one, else between two characters.
    TPRText split;
    split.SetText(text);
    TPdfCanvas& canvas = *measure_.GetCanvas();
    canvas.SetFont(PdfFontNameOf(memo.FontName(), memo.FontBold(), memo.FontItalic()),
                   memo.FontSize());
    const double width = memo.Width();
    std::vector<std::string> lines;
    for (std::string_view rest : split.Lines) {
        while (canvas.TextWidth(rest) > width) {
            std::size_t fit = static_cast<std::size_t>(canvas.FitLength(rest, width));
            if (fit == 0)
                fit = IsLeadByte(static_cast<unsigned char>(rest[0])) && rest.size() > 1 ? 2 : 1;
            std::size_t blank = rest.substr(0, fit).rfind(' ');
            if (blank != std::string_view::npos && blank > 0)
                fit = blank + 1;
            lines.emplace_back(rest.substr(0, fit));
            rest.remove_prefix(fit);
        }
        lines.emplace_back(rest);
    }
    return lines;
}

void ChartPdfComposer::PRImagePagePrintPage(TPRPage&, TPRCanvas&) {
    TPRDestination* destination = PReport1.CreateDestination();
    destination->SetDestinationType(TPdfDestinationType::XYZ);
    destination->SetLeft(0);
    destination->SetTop(0);
    destination->SetZoom(1);
    PageDestination = destination;
    // Each image page replaces the open action: the file opens at its last image page.
    PReport1.SetOpenAction(destination);
}

std::optional<Bitmap> ChartPdfComposer::LoadDicom(const std::string& path) {
    if (dicom_ == nullptr) {
        if (!ownDicom_)
            ownDicom_ = std::make_unique<TDicomImage>(ui_);
        dicom_ = ownDicom_.get();
    }
    try {
        if (!dicom_->Read(path) || !dicom_->ImageUsable() || !dicom_->Render(1, true, path))
            return std::nullopt;
    } catch (const EDicomOpenError&) {
        return std::nullopt;
    }
    Bitmap image = dicom_->Image();
    dicom_->ReleaseImage();
    if (image.Empty())
        return std::nullopt;
    return image;
}

void ChartPdfComposer::PrintImagePages(const ChartPdfSource& source) {
    if (source.PageCount() == 0)
        return;
    TPROutlineRoot* root = PReport1.GetOutlineRoot();
    ImageQuality = ClampQuality(ImageQuality);
    const PageImageSettings image{AvailableWidth, AvailableHeight, StretchImage, ImageQuality};

    // The pages whose files are there, in list order; a missing file is left out quietly.
    struct Job {
        std::size_t Index;
        std::string File;
    };
    std::vector<Job> jobs;
    for (std::size_t i = settings_.FirstPage ? 0 : 1; i < source.PageCount(); ++i) {
        std::string file =
            WithoutTrailingSlash(settings_.ScannerDir) + "/" + FileNamePart(source.Page(i).Path);
        if (FileExists(file))
            jobs.push_back({i, std::move(file)});
    }

    PageImageQueue queue(Threads);
    std::size_t submitted = 0;
    auto submitAhead = [&](std::size_t taken) {
        while (submitted < jobs.size() && submitted < taken + queue.Window()) {
            const std::string& file = jobs[submitted].File;
            if (IsDicomFile(file)) {
                // The DICOM reader talks to the person, so it runs here, in page order; the
                // worker only fits and encodes its frame.
                auto frame = std::make_shared<std::optional<Bitmap>>(LoadDicom(file));
                queue.Submit([frame, image]() -> std::optional<JpegPicture> {
                    if (!*frame)
                        return std::nullopt;
                    return ComposePageImage(**frame, image);
                });
            } else {
                queue.Submit([file, image]() -> std::optional<JpegPicture> {
                    std::optional<std::string> content = ReadWholeFile(file);
                    if (!content)
                        return std::nullopt;
                    return ComposePageImage(*content, image);
                });
            }
            ++submitted;
        }
    };

    for (std::size_t taken = 0; taken < jobs.size(); ++taken) {
        submitAhead(taken);
        std::optional<JpegPicture> picture = queue.Take();
        const ChartPage& page = source.Page(jobs[taken].Index);
        CurrentImagePath = jobs[taken].File;
        if (!page.Notes.empty()) {
            PRAnnotation1->Lines = page.Notes;
            PRAnnotation1->SetPrintable(true);
        } else {
            PRAnnotation1->Lines.clear();
            PRAnnotation1->SetPrintable(false);
        }
        if (picture) {
            PRJpegImage1->SetWidth(picture->Width);
            PRJpegImage1->SetHeight(picture->Height);
            PRJpegImage1->SetPicture(std::move(*picture));
            PageDestination = nullptr;
            PReport1.PrintPage(PRImagePage);
            PRJpegImage1->SetPicture(std::monostate{});
            // A page that could not be loaded has no page to point at, so no bookmark.
            if (!page.Caption.empty() && PageDestination != nullptr) {
                TPROutlineEntry* entry = root->AddChild();
                entry->SetTitle(page.Caption);
                entry->SetDest(PageDestination);
                entry->SetOpened(true);
            }
        }
        ui_.SetStatus(1, CurrentImagePath);
        ui_.ProcessEvents();
    }
}

} // namespace pendlar

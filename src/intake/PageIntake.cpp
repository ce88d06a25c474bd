#include "intake/PageIntake.h"

#include "intake/DicomImage.h"
#include "intake/FolderListing.h"
#include "intake/ImageFile.h"
#include "intake/PatientNumber.h"
#include "intake/ThumbnailQueue.h"
#include "logs/Logs.h"
#include "qrdecode/QRDecode.h"
#include "settings/Registory.h"
#include "util/DirFile.h"
#include "util/FileSystem.h"
#include "util/Profile.h"
#include "util/Sjis.h"
#include "util/TextHelpers.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace pendlar {

namespace {

// The extension test of DICOM pages is exact: "X.DCM" goes to the imaging library.
bool IsDicomPath(std::string_view path) {
    const std::string name = FileNamePart(path);
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".dcm") == 0;
}

bool LowerExtensionIsDcm(std::string_view path) {
    std::string name = FileNamePart(path);
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext == ".dcm";
}

// The thumbnail of the page file `file`, or nullopt when it cannot be read as an image. It
// touches nothing but the file, so worker threads run it too.
std::optional<Bitmap> ThumbnailOfFile(const std::string& file, int side, bool stretch) {
    auto source = LoadImageForThumbnail(file, side, side);
    if (!source)
        return std::nullopt;
    return MakeThumbnailBitmap(source->Image, source->FullWidth, source->FullHeight, side, stretch);
}

// A thumbnail made ahead is used only for the same page, size and fitting.
std::string ThumbnailKey(const std::string& path, int side, bool stretch) {
    return path + '\n' + std::to_string(side) + (stretch ? "s" : "f");
}

std::string ReplaceExtension(const std::string& path, const char* ext) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return path.substr(0, dot) + ext;
    return path + ext;
}

} // namespace

PageViewAction PageViewActionFor(MouseButton button, unsigned modifiers) {
    if (button != MouseButton::Right)
        return PageViewAction::Select;
    switch (modifiers) {
    case AltKey:
        return PageViewAction::Delete;
    case CtrlKey:
        return PageViewAction::ShowFullSize;
    case ShiftKey:
        return PageViewAction::OpenEditor;
    default:
        return PageViewAction::None;
    }
}

PageIntake::PageIntake(TRegistory& settings, TLogs& logs, UserInterface& ui, TDicomImage& dicom,
                       TQRDecode& decoder, IntakeHost& host)
    : settings_(settings), logs_(logs), ui_(ui), dicom_(dicom), decoder_(decoder), host_(host) {
    thumbs_.Reset(ThumbnailSide(settings_.ImSize));
}

PageIntake::~PageIntake() = default;

// The thumbnails made ahead belong to one walk over the pages; whichever way the walk ends,
// the work not yet taken is dropped with it.
class PageIntake::ThumbnailPlan {
public:
    ThumbnailPlan(PageIntake& intake, const std::vector<std::string>& paths) : intake_(intake) {
        intake_.PlanThumbnails(paths);
    }
    ~ThumbnailPlan() {
        intake_.ahead_.reset();
        intake_.planned_.clear();
        intake_.plannedNext_ = 0;
    }
    ThumbnailPlan(const ThumbnailPlan&) = delete;
    ThumbnailPlan& operator=(const ThumbnailPlan&) = delete;

private:
    PageIntake& intake_;
};

void PageIntake::PlanThumbnails(const std::vector<std::string>& paths) {
    ahead_.reset();
    planned_.clear();
    plannedNext_ = 0;
    // DICOM pages go through the one DICOM reader on this thread, as they always did.
    for (const auto& path : paths)
        if (!IsDicomPath(path))
            planned_.push_back(path);
    if (planned_.size() < 2)
        return;
    ahead_ = std::make_unique<ThumbnailQueue>(thumbnailThreads_);
    if (!ahead_->Threaded()) {
        ahead_.reset();
        return;
    }
    SubmitPlannedThumbnails();
}

void PageIntake::SubmitPlannedThumbnails() {
    const int side = thumbs_.Side();
    const bool stretch = settings_.ThumbStrech;
    while (ahead_->Pending() < ahead_->Window() && plannedNext_ < planned_.size()) {
        const std::string& path = planned_[plannedNext_++];
        ahead_->Submit(ThumbnailKey(path, side, stretch), [file = PageFile(path), side, stretch] {
            return ThumbnailOfFile(file, side, stretch);
        });
    }
}

std::optional<Bitmap> PageIntake::PageThumbnail(const std::string& path) {
    const int side = thumbs_.Side();
    const bool stretch = settings_.ThumbStrech;
    if (ahead_) {
        if (ahead_->Pending() > 0 && ahead_->NextIs(ThumbnailKey(path, side, stretch))) {
            std::optional<Bitmap> thumb = ahead_->Take();
            SubmitPlannedThumbnails();
            return thumb;
        }
        // The walk left the plan: nothing made ahead can be trusted to fit any more.
        ahead_.reset();
    }
    return ThumbnailOfFile(PageFile(path), side, stretch);
}

void PageIntake::SetStatus(int panel, const char* utf8) {
    ui_.SetStatus(panel, SjisOf(utf8));
}

std::string PageIntake::PageFile(const std::string& path) const {
    std::string folder = settings_.ScannerDir;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder + FileNamePart(path);
}

// ---------------------------------------------------------------- the page list

void PageIntake::ResetThumbnailList() {
    thumbs_.Reset(ThumbnailSide(settings_.ImSize));
    host_.ThumbnailsReset();
}

void PageIntake::ClearPageList() {
    pages_.clear();
    items_.clear();
    host_.ViewCleared();
    ResetThumbnailList();
}

bool PageIntake::OpenDicomPage(const std::string& path, bool withText) {
    textList_.clear();
    const std::string file = PageFile(path);
    if (!dicom_.Read(file))
        return false;
    if (withText)
        textList_ = dicom_.TextLines();
    if (!dicom_.ImageUsable())
        return false;
    return dicom_.Render(1, true, file);
}

int PageIntake::MakeThumbnail(const std::string& path) {
    SetStatus(1, "少々お待ちください。");
    ui_.ProcessEvents();
    const int side = thumbs_.Side();
    Bitmap thumb;
    if (!IsDicomPath(path)) {
        std::optional<Bitmap> made = PageThumbnail(path);
        if (!made)
            throw EIntakeError(SjisOf("ファイル形式エラー"));
        thumb = std::move(*made);
    } else {
        if (!OpenDicomPage(path, settings_.DicomText))
            return -1;
        const Bitmap& page = dicom_.Image();
        thumb = MakeThumbnailBitmap(page, page.Width(), page.Height(), side, settings_.ThumbStrech);
        dicom_.ReleaseImage();
    }
    const int index = thumbs_.Add(std::move(thumb));
    SetStatus(1, "読み込み完了");
    return index;
}

void PageIntake::RedrawThumbnail(const std::string& path, int index) {
    std::optional<Bitmap> thumb =
        ThumbnailOfFile(PageFile(path), thumbs_.Side(), settings_.ThumbStrech);
    if (thumb && thumbs_.Replace(index, std::move(*thumb)))
        host_.ThumbnailReplaced(index);
}

void PageIntake::AddPageRecord(const std::string& path) {
    textList_.clear();
    APageList record;
    record.Path = path;
    record.ThumbIndex = MakeThumbnail(path);
    if (LowerExtensionIsDcm(path) && !textList_.empty())
        record.Notes = textList_;
    pages_.push_back(std::move(record));
    items_.push_back({pages_.back().ThumbIndex, {}});
    host_.ViewItemAdded(static_cast<int>(items_.size()) - 1);
}

bool PageIntake::RebuildPageView() {
    if (pages_.empty())
        return false;
    items_.clear();
    host_.ViewCleared();
    ResetThumbnailList();
    // A page that cannot be loaded any more keeps its place without a thumbnail, so the
    // view still has one item per page; the failure is reported once the view is whole.
    std::optional<std::string> failure;
    std::vector<std::string> paths;
    for (const auto& page : pages_)
        paths.push_back(page.Path);
    ThumbnailPlan plan(*this, paths);
    for (auto& page : pages_) {
        ui_.ProcessEvents();
        try {
            page.ThumbIndex = MakeThumbnail(page.Path);
        } catch (const std::exception& e) {
            page.ThumbIndex = -1;
            if (!failure)
                failure = e.what();
        }
        items_.push_back({page.ThumbIndex, page.Caption});
        host_.ViewItemAdded(static_cast<int>(items_.size()) - 1);
    }
    if (failure)
        throw EIntakeError(*failure);
    return true;
}

// ---------------------------------------------------------------- intake commands

void PageIntake::TakePages(const std::vector<std::string>& order, bool addPages) {
    // With no page listed, the thumbnails follow the size setting as it is now. The list is
    // made before the settings are loaded and is not reset when the size changes while it
    // is empty, so an add-pages intake would otherwise draw them at a stale size.
    if (addPages && pages_.empty())
        ResetThumbnailList();
    // The pages that will be added, known before the first one is: a name already listed
    // (before or earlier in this walk) is skipped when adding.
    std::vector<std::string> added;
    std::set<std::string> listed;
    if (addPages)
        for (const auto& page : pages_)
            listed.insert(FileNamePart(page.Path));
    for (const auto& path : order)
        if (!addPages || listed.insert(FileNamePart(path)).second)
            added.push_back(path);
    ThumbnailPlan plan(*this, added);
    for (const auto& path : added)
        AddPageRecord(path);
    selected_ = 0;
    ui_.SetStatus(0, std::to_string(pages_.size()));
    ShowTabPages();
}

void PageIntake::ScannerReadClick(bool addPages) {
    host_.HideCommercial();
    host_.LockControls(true);
    bool messageStays = false;
    try {
        ui_.SetStatus(1, {});
        host_.ActivatePageCheckTab();
        const std::string filter = BuildTypeFilter(settings_);
        if (!FolderExists(settings_.ScannerDir)) {
            SetStatus(1, "指定のフォルダーがありません。");
            messageStays = true;
        } else if (filter.empty()) {
            SetStatus(1, "ファイル形式が指定されていません。");
            messageStays = true;
        } else {
            if (!addPages)
                ClearPageList();
            const std::vector<std::string> names =
                ListFolderFiles(settings_.ScannerDir, FilterMasks(filter));
            if (names.empty()) {
                SetStatus(1, "読込みファイルが指定されていません。");
                messageStays = true;
            } else {
                std::vector<std::string> order(names.begin(), names.end());
                if (settings_.Sequence == 1)
                    std::reverse(order.begin(), order.end());
                TakePages(order, addPages);
            }
        }
    } catch (const std::exception& e) {
        ui_.Message(e.what(), {}, MsgIcon::Error, MsgButtons::Abort);
        logs_.AddErrorLog("** Scanner Read Error");
    }
    host_.LockControls(false);
    host_.DisableChartButtons(true);
    host_.ActivatePageCheckTab();
    if (!messageStays)
        SetStatus(1, "患者番号を入力してください。");
}

void PageIntake::ImageReadClick(bool addPages) {
    host_.HideCommercial();
    host_.LockControls(true);
    try {
        ui_.SetStatus(1, {});
        host_.ActivatePageCheckTab();
        const std::string filter = BuildTypeFilter(settings_);
        if (!FolderExists(settings_.ScannerDir)) {
            SetStatus(1, "指定のフォルダーがありません。");
        } else if (filter.empty()) {
            SetStatus(1, "ファイル形式が指定されていません。");
        } else {
            FileDialogSpec request;
            request.Filter = filter;
            request.InitialDir = settings_.ScannerDir;
            const auto files = host_.ChooseOpenFiles(request);
            const std::string scanner = WithoutTrailingSlash(settings_.ScannerDir);
            if (!files) {
                SetStatus(1, "読み込みファイルの指定はキャンセルされました。");
            } else if (files->empty()) {
                SetStatus(1, "ファイルの指定がされていません。");
            } else if (std::any_of(files->begin(), files->end(), [&](const std::string& f) {
                           return WithoutTrailingSlash(FolderPart(f)) != scanner;
                       })) {
                // A page is always found again in the scanner folder by its name, so a file
                // from anywhere else would later be looked for where it is not.
                SetStatus(1, "読み込みフォルダーの指定はキャンセルされました。");
            } else {
                if (!addPages)
                    ClearPageList();
                std::vector<std::string> order(files->begin(), files->end());
                if (settings_.Sequence != 1)
                    std::reverse(order.begin(), order.end());
                TakePages(order, addPages);
            }
        }
    } catch (const std::exception& e) {
        ui_.Message(e.what(), {}, MsgIcon::Error, MsgButtons::Abort);
        logs_.AddErrorLog("*** Image Read Error");
    }
    host_.LockControls(false);
    host_.CheckSaveReady();
    host_.DisableChartButtons(false);
}

void PageIntake::ReadFilesClick() {
    ui_.SetStatus(1, {});
    FileDialogSpec request;
    request.Filter = "JPEG|*.jpg;*.jpeg;|BITMAP|*.bmp;|TIFF|*.tif;*.tiff|PNG|*.png;|Dicom|*.dcm;";
    request.InitialDir = FolderExists(settings_.FileOpenDir) ? settings_.FileOpenDir : HomeFolder();
    const auto files = host_.ChooseOpenFiles(request);
    if (!files) {
        SetStatus(1, "読み込みファイルの指定はキャンセルされました。");
        return;
    }
    if (files->empty()) {
        SetStatus(1, "ファイルの指定がされていません。");
        return;
    }
    settings_.FileOpenDir = FolderPart(files->front());
    for (const auto& file : *files) {
        const std::string target = PageFile(file);
        std::error_code ec;
        // A file chosen from the scanner folder itself is already where it belongs;
        // copying it onto itself would empty it.
        if (std::filesystem::equivalent(FsPath(file), FsPath(target), ec))
            continue;
        ec.clear();
        std::filesystem::copy_file(FsPath(file), FsPath(target),
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) {
            const std::string text = SjisOf("ファイルをコピーできません。\n") + file;
            ui_.Message(text, {}, MsgIcon::Error, MsgButtons::Ok);
            logs_.AddErrorLog("* File Import Error");
            SetStatus(1, "ファイルをコピーできません。");
            return;
        }
    }
    SetStatus(1, "インポート完了");
}

void PageIntake::ScanFolderClearClick() {
    if (!host_.ConfirmFolderClear(settings_.ScannerDir))
        return;
    EmptyFolder(settings_.ScannerDir);
    ClearPageList();
}

void PageIntake::TwainSourceMenuClick() {
    if (!scanner_)
        return;
    ui_.SetStatus(1, SjisOf("少々お待ちください。"));
    ui_.ProcessEvents();
    std::string error;
    const auto devices = scanner_->ListDevices(&error);
    ui_.SetStatus(1, {});
    const auto choice = host_.ChooseScanner(devices);
    if (!choice || *choice < 0 || *choice >= static_cast<int>(devices.size()))
        return;
    chosenScanner_ = devices[static_cast<std::size_t>(*choice)].Name;
    host_.SetTwainReadEnabled(true);
}

void PageIntake::TwainReadMenuClick() {
    ui_.SetStatus(1, {});
    if (!scanner_ || chosenScanner_.empty())
        return;
    Bitmap image;
    std::string error;
    host_.LockControls(true);
    const AcquireResult result = scanner_->Acquire(
        chosenScanner_, image, [this] { ui_.ProcessEvents(); }, &error);
    host_.LockControls(false);
    if (result == AcquireResult::Cancelled)
        return;
    // A device that failed is told like a failed save: the device has no window of its own
    // to say what went wrong.
    if (result == AcquireResult::Failed || image.Empty()) {
        SetStatus(1, "＊＊＊ Twainの読み込みに失敗しました。");
        logs_.AddErrorLog("* Twain Read Error");
        return;
    }
    FileDialogSpec request;
    request.Filter = "JPEG|*.jpg;*.jpeg|BMP|*.bmp|TIFF|*.tiff;*.tif|PNG|*.png";
    request.InitialDir = settings_.ScannerDir;
    const auto choice = host_.ChooseImageSaveFile(request);
    if (!choice)
        return;
    static const char* const kExt[] = {".jpg", ".bmp", ".tif", ".png"};
    const int filter = std::clamp(choice->FilterIndex, 1, 4);
    const std::string path = ReplaceExtension(choice->Path, kExt[filter - 1]);
    if (!SaveImageFile(image, path)) {
        SetStatus(1, "＊＊＊ Twainの読み込みに失敗しました。");
        logs_.AddErrorLog("* Twain Read Error");
    }
}

void PageIntake::ReadSetConfirmed(const ReadSettings& values) {
    if (values.StoreInto(settings_)) {
        try {
            RebuildPageView();
        } catch (const std::exception& e) {
            ui_.Message(e.what(), {}, MsgIcon::Error, MsgButtons::Abort);
        }
    }
    host_.UpdateTabVisibility();
}

// ---------------------------------------------------------------- raw-page tabs

PageIntake::RawLoad PageIntake::LoadRawPage(const std::string& path, bool dicomAllowed,
                                            Bitmap& into) {
    if (dicomAllowed && IsDicomPath(path)) {
        try {
            if (!OpenDicomPage(path, false))
                return RawLoad::Silent;
        } catch (const std::exception&) {
            return RawLoad::CannotOpen;
        }
        into = dicom_.Image();
        dicom_.ReleaseImage();
        return RawLoad::Loaded;
    }
    const auto content = ReadWholeFile(PageFile(path));
    if (!content)
        return RawLoad::CannotOpen;
    auto image = DecodeImage(*content);
    if (!image)
        return RawLoad::Unsupported;
    into = std::move(*image);
    return RawLoad::Loaded;
}

bool PageIntake::ReportRawLoad(RawLoad result) {
    switch (result) {
    case RawLoad::Loaded:
        return true;
    case RawLoad::Silent:
        return false;
    case RawLoad::CannotOpen:
        SetStatus(1, "ファイルを開くことができません。");
        logs_.AddErrorLog("* Image File can not Open");
        return false;
    case RawLoad::Unsupported:
        SetStatus(1, "サポートしていないファイル形式があります。");
        logs_.AddErrorLog("* No support Image File");
        return false;
    }
    return false;
}

void PageIntake::ShowTabPages() {
    switch (host_.ActiveTab()) {
    case IntakeTab::PatientCheck:
        PatientCheck();
        break;
    case IntakeTab::QRFrame:
        ShowQRFramePage();
        break;
    default:
        break;
    }
}

void PageIntake::PatientCheck() {
    ui_.SetStatus(1, {});
    if (pages_.empty())
        return;
    Bitmap first;
    if (!ReportRawLoad(LoadRawPage(pages_[0].Path, true, first)))
        return;
    firstPage_ = std::move(first);
    host_.ShowFirstPage();
    pageShown_ = true;
    if (pages_.size() > 1) {
        Bitmap second;
        if (!ReportRawLoad(LoadRawPage(pages_[1].Path, true, second)))
            return;
        secondPage_ = std::move(second);
        host_.ShowSecondPage(true);
    } else {
        secondPage_ = Bitmap();
        host_.ShowSecondPage(false);
    }
    if (settings_.IdNoGet == 0)
        ReadQRNumber();
    else if (settings_.IdNoGet == 1)
        ReadFileNameNumber();
}

void PageIntake::ShowQRFramePage() {
    if (pages_.empty())
        return;
    Bitmap first;
    if (!ReportRawLoad(LoadRawPage(pages_[0].Path, false, first)))
        return;
    firstPage_ = std::move(first);
    host_.ShowQRPage();
    pageShown_ = true;
    ApplyFrameStep(frame_.PageShown());
}

void PageIntake::ReadQRNumber() {
    if (!frame_.Defined()) {
        SetStatus(1, "QR枠が作成されていません。");
        return;
    }
    const QRFrameRect& f = frame_.Frame();
    if (!QRFrameFits(f, firstPage_.Width(), firstPage_.Height())) {
        SetStatus(1, "QR枠が画像範囲を越えています。");
        return;
    }
    if (!decoder_.Decode(MakeQRCrop(firstPage_, f))) {
        ui_.SetStatus(1, decoder_.ErrorText());
        return;
    }
    // From the next read on: the configured brightness and every symbol read as version 1,
    // the cover sheets' own size.
    decoder_.SetResolver(settings_.Resolver);
    decoder_.SetWarp(1);
    decoder_.SetForceVersion(1);
    const std::string text = decoder_.Text();
    if (ParseInt32(text))
        host_.SetPatientNumber(text);
    else
        SetStatus(1, "QRCode数値エラー");
}

void PageIntake::ReadFileNameNumber() {
    if (auto number = PatientNumberFromFileName(pages_[0].Path, settings_.IdNoPosition))
        host_.SetPatientNumber(*number);
    else
        SetStatus(1, "ファイル名にあるIDNoの数値エラー");
}

void PageIntake::ApplyFrameStep(const QRFrameTracker::Step& step) {
    for (const auto& r : step.Xor)
        host_.XorFrame(r);
    if (step.SetsStatus)
        ui_.SetStatus(1, step.Status);
}

void PageIntake::Image3MouseDown(int x, int y) {
    ApplyFrameStep(frame_.MouseDown(x, y, pageShown_));
}

void PageIntake::Image3MouseMove(int x, int y) {
    ApplyFrameStep(frame_.MouseMove(x, y));
}

void PageIntake::Image3MouseUp(int x, int y) {
    ApplyFrameStep(frame_.MouseUp(x, y));
}

void PageIntake::ResetForNewChart() {
    pageShown_ = false;
    frame_.ResetDrag();
}

// ---------------------------------------------------------------- the page check list

void PageIntake::RewriteItems(int first, int last) {
    for (int i = first; i <= last; ++i) {
        const auto& page = pages_[static_cast<std::size_t>(i)];
        items_[static_cast<std::size_t>(i)] = {page.ThumbIndex, page.Caption};
    }
    if (first <= last)
        host_.ViewItemsChanged(first, last);
}

void PageIntake::ListView1MouseUp(MouseButton button, unsigned modifiers, int itemUnder) {
    const bool onItem = itemUnder >= 0 && itemUnder < static_cast<int>(pages_.size());
    switch (PageViewActionFor(button, modifiers)) {
    case PageViewAction::Select:
        selected_ = onItem ? itemUnder : -1;
        break;
    case PageViewAction::Delete:
        PageDeleteMenuClick();
        break;
    case PageViewAction::ShowFullSize:
        if (onItem)
            host_.OpenBigImage(itemUnder);
        break;
    case PageViewAction::OpenEditor:
        if (onItem)
            host_.OpenPageEditor(itemUnder);
        break;
    case PageViewAction::None:
        break;
    }
}

void PageIntake::ListView1StartDrag() {
    dragStarted_ = false;
}

bool PageIntake::ListView1DragOver(bool sourceIsPageView, int itemUnder) {
    if (!sourceIsPageView)
        return false;
    if (!dragStarted_) {
        dragItem_ = itemUnder;
        dragStarted_ = true;
    }
    return true;
}

void PageIntake::ListView1DragDrop(int target) {
    if (!dragStarted_)
        return;
    dragStarted_ = false;
    const int n = static_cast<int>(pages_.size());
    const int s = dragItem_;
    // A drag that began over no page has nothing to move.
    if (s < 0 || s >= n)
        return;
    if (target >= n)
        target = -1;
    int first = 0, last = 0;
    auto at = [&](int i) { return pages_.begin() + i; };
    if (target < 0) {
        std::rotate(at(s), at(s + 1), pages_.end());
        first = s;
        last = n - 1;
    } else if (target > s) {
        std::rotate(at(s), at(s + 1), at(target));
        first = s;
        last = target - 1;
    } else if (target < s) {
        std::rotate(at(target), at(s), at(s + 1));
        first = target;
        last = s;
    } else {
        return;
    }
    RewriteItems(first, last);
}

void PageIntake::PageDeleteMenuClick() {
    const int n = static_cast<int>(pages_.size());
    if (selected_ < 0 || n == 0 || selected_ >= n)
        return;
    pages_.erase(pages_.begin() + selected_);
    RewriteItems(selected_, n - 2);
    items_.pop_back();
    host_.ViewLastItemRemoved();
}

std::string PageIntake::ListView1Edited(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(pages_.size()))
        return text;
    // Cut before a character that would be split: a dangling lead byte would swallow the
    // closing byte of the bookmark title in the PDF.
    std::string cut = CutAtCharBoundary(text, kCaptionBytes);
    auto& item = items_[static_cast<std::size_t>(index)];
    if (cut != item.Caption) {
        pages_[static_cast<std::size_t>(index)].Caption = cut;
        item.Caption = cut;
        host_.ViewItemsChanged(index, index);
    }
    return cut;
}

void PageIntake::PageRedispMenuClick() {
    SetStatus(1, "少々お待ちください。");
    bool rebuilt = false;
    try {
        rebuilt = RebuildPageView();
    } catch (const std::exception& e) {
        rebuilt = true;
        ui_.Message(e.what(), {}, MsgIcon::Error, MsgButtons::Abort);
    }
    if (rebuilt)
        ui_.SetStatus(1, {});
    else
        SetStatus(1, "表示エラーです。");
}

void PageIntake::PageEditorClosed(int index, const std::string& caption,
                                  const std::vector<std::string>& noteLines, bool fileRewritten) {
    if (index < 0 || index >= static_cast<int>(pages_.size()))
        return;
    auto& page = pages_[static_cast<std::size_t>(index)];
    page.Caption = CutAtCharBoundary(caption, kEditorCaptionBytes);
    if (!noteLines.empty())
        page.Notes = noteLines;
    RewriteItems(index, index);
    if (fileRewritten && page.ThumbIndex >= 0)
        RedrawThumbnail(page.Path, page.ThumbIndex);
}

} // namespace pendlar

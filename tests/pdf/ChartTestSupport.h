// Fixtures for the chart composition tests: a filled chart record, the built-in lookup
// lists, small page pictures written into a scanner folder, and a composer run that gives
// the file's bytes.
#pragma once

#include "intake/ImageFile.h"
#include "pdf/chart/PdfWriteUnit.h"
#include "record/Choices.h"
#include "settings/Registory.h"
#include "util/CaruteDate.h"
#include "util/ScriptedUserInterface.h"
#include "util/Sjis.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pendlar::test {

inline std::string S(const char* utf8) {
    return SjisOf(utf8);
}

template <std::size_t N>
std::vector<std::string> SjisList(const std::array<const char*, N>& items) {
    std::vector<std::string> out;
    for (const char* item : items)
        out.push_back(S(item));
    return out;
}

inline ChartLookupLists BuiltInLookups() {
    return {SjisList(kZokugaraChoices), SjisList(kTenkiChoices), SjisList(kFutanChoices)};
}

// A chart of a patient with every header section filled.
inline ChartRecord SampleRecord() {
    ChartRecord r;
    r.CreateDate = EncodeDate(2024, 4, 1);
    r.PatientNo = 12345678;
    r.PName.Assign(S("山田 太郎"));
    r.PKana.Assign(S("ﾔﾏﾀﾞ ﾀﾛｳ"));
    r.Psex = 0;
    r.PBirth = EncodeDate(1950, 3, 20);
    r.Padress.Assign(S("東京都千代田区丸の内1-1-1"));
    r.Pubin.Assign("100-0005");
    r.Ptel.Assign("03-1234-5678");
    r.RName.Assign(S("山田 花子"));
    r.Raddress.Assign(S("東京都千代田区丸の内1-1-1"));
    r.Rzokugara = 1;
    r.Rtel.Assign("03-1234-5678");
    r.Rkeitai.Assign("090-1234-5678");
    r.Sname.Assign(S("佐藤 医院"));
    r.Sadress.Assign(S("横浜市中区1-2"));
    r.Stel.Assign("045-111-2222");
    r.Hhokenno.Assign("06123456");
    r.Hkigouno.Assign(S("記号1・番号23"));
    r.Hname.Assign(S("山田 太郎"));
    r.Hlimitdate = EncodeDate(2026, 3, 31);
    r.Hshikakudate = EncodeDate(2010, 4, 1);
    r.Hhokenname.Assign(S("全国健康保険協会"));
    r.Hhokenadr.Assign(S("東京都新宿区"));
    r.Hhokentel.Assign("03-9999-0000");
    r.Hkouhino1.Assign("12345678");
    r.Hjukyuno1.Assign("7654321");
    r.Hjname.Assign(S("丸の内商事"));
    r.Hjadr.Assign(S("東京都港区"));
    r.Hjtel.Assign("03-5555-6666");
    r.Ketsueki = 1;
    r.Rh = 0;
    r.HBS = 1;
    r.HCV = 1;
    r.TPHA = 1;
    r.Kinki = 1;
    r.Kousezai.Assign(S("ペニシリン 陰性"));
    r.kioureki.Assign(S("高血圧症（2010年から）\r\n虫垂炎手術 1985年"));
    r.kazoureki.Assign(S("父：糖尿病"));
    r.arerugi.Assign(S("卵"));
    r.kansensho.Assign(S("なし"));
    r.bikou.Assign(S("次回受診時に採血"));
    r.Rousai[0].RByumei.Assign(S("右手首骨折"));
    r.Rousai[0].Rikenfrom = EncodeDate(2010, 1, 1);
    r.Rousai[0].Rikento = EncodeDate(2010, 1, 31);
    r.Rousai[0].Rkoufu = EncodeDate(2010, 2, 5);
    r.Rrousai.Assign(S("通勤途中の転倒"));
    r.Gairai[0].Gbyoname.Assign(S("高血圧症"));
    r.Gairai[0].Gshoshinbi = EncodeDate(2010, 1, 15);
    r.Gairai[0].Gtenki = -1;
    r.Gairai[1].Gbyoname.Assign(S("急性気管支炎"));
    r.Gairai[1].Gshoshinbi = EncodeDate(2024, 2, 1);
    r.Gairai[1].Gshuryobi = EncodeDate(2024, 2, 20);
    r.Gairai[1].Gtenki = 0;
    r.Gairai[8].Gbyoname.Assign(S("腰痛症"));
    r.Gairai[8].Gshoshinbi = EncodeDate(2023, 6, 1);
    r.NShinryoka.Assign(S("内科"));
    r.Nbyuto.Assign(S("東3"));
    r.Nshujidct.Assign(S("鈴木 一郎"));
    r.Nnyuinday = EncodeDate(2024, 3, 1);
    r.Ntaiinday = EncodeDate(2024, 3, 14);
    r.NzenkaiNyuinCheck = true;
    r.Nzenkainyuin = EncodeDate(2020, 5, 1);
    r.Nzenkaitaiin = EncodeDate(2020, 5, 9);
    r.Nyuin[0].NShidan.Assign(S("肺炎"));
    r.Nyuin[0].NShidanday = EncodeDate(2024, 3, 1);
    r.Nyuin[0].Ntenkiday = EncodeDate(2024, 3, 14);
    r.Nyuin[0].Ntenki = 0;
    r.FFutanKubun = 0;
    r.Kakunin[0].Fnendo.Assign(S("令和5年度"));
    r.Kakunin[0].Ftsuki[3] = true;
    r.Kakunin[0].Ftsuki[4] = true;
    r.Kakunin[1].Fnendo.Assign(S("令和6年度"));
    r.Kakunin[1].Ftsuki[0] = true;
    return r;
}

// A page-like picture: light paper with dark rows of "writing" and a frame, so that a cut
// or a reduction shows on the rendered page.
inline Bitmap PagePicture(int width, int height, Rgb ink = {20, 20, 90}) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool frame = x < 3 || y < 3 || x >= width - 3 || y >= height - 3;
            bool text = (y / 6) % 3 == 1 && (x / 5) % 4 != 3 && x > 8 && x < width - 8;
            b.SetPixel(x, y, frame || text ? ink : Rgb{250, 248, 240});
        }
    return b;
}

// Writes a picture into the folder in the format of the name's extension.
inline void WritePicture(const TempDir& dir, const std::string& name, const Bitmap& picture) {
    ASSERT_TRUE(SaveImageFile(picture, dir.Sjis(name))) << name;
}

// The settings of a composition into `scanner`: the defaults with the header kind given.
inline TRegistory ChartSettings(const TempDir& scanner, int headerOut) {
    TRegistory settings;
    settings.ScannerDir = scanner.Sjis();
    settings.HeaderOut = headerOut;
    return settings;
}

// Composes the chart and returns the written bytes (empty when nothing was written).
inline std::string Compose(const TRegistory& settings, const ChartPdfSource& source,
                           const TempDir& out, int threads = 0,
                           ScriptedUserInterface* ui = nullptr) {
    ScriptedUserInterface own;
    TCaruteDate calendar;
    ChartPdfComposer composer(settings, calendar, ui ? *ui : own);
    composer.PageWidth = settings.PdfPageWidth;
    composer.PageHeight = settings.PdfPageHeight;
    composer.Threads = threads;
    composer.Today = EncodeDate(2024, 5, 10);
    composer.WriteChartPdf(out.Sjis("chart.pdf"), source);
    return ReadFile(out.Path() / "chart.pdf");
}

inline std::size_t CountOf(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size())
        ++count;
    return count;
}

inline std::size_t PageCountOf(const std::string& pdf) {
    return CountOf(pdf, "/Type /Page\r\n");
}

} // namespace pendlar::test

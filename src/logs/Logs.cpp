#include "logs/Logs.h"

#include "util/FileSystem.h"
#include "util/Sjis.h"

#include <fstream>

namespace pendlar {

std::string SaveLogAppendError() {
    return SjisOf("*** ファイル追加エラーが発生しました。");
}

bool TErrorLog::WriteToFile(const std::string& sjisPath) const {
    return WriteLines(sjisPath, lines_);
}

bool TSaveLog::AppendToFile(const std::string& sjisPath) {
    std::ofstream out(FsPath(sjisPath), std::ios::binary | std::ios::app);
    if (!out)
        return false;
    for (const auto& line : lines_)
        out << line << "\r\n";
    out.close();
    if (out.fail())
        return false;
    Clear();
    return true;
}

} // namespace pendlar

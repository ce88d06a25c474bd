// The two logs of a run, both plain lists of Shift-JIS lines held in memory.
//
// The error log gets one fixed line per failure of any flow and is written to a file only
// on request. The save log gets one line per chart saved or erased and is appended by the
// clerk to a running text file; its unsaved-lines flag makes the shutdown ask before lines
// are lost.
#pragma once

#include <string>
#include <vector>

namespace pendlar {

class TErrorLog {
public:
    void Add(const std::string& line) { lines_.push_back(line); }
    void Clear() { lines_.clear(); }
    const std::vector<std::string>& Lines() const { return lines_; }
    // Replaces the file by all lines (CR LF each); the log keeps its lines. False on failure.
    bool WriteToFile(const std::string& sjisPath) const;

private:
    std::vector<std::string> lines_;
};

class TSaveLog {
public:
    void Add(const std::string& line) {
        lines_.push_back(line);
        unsaved_ = true;
    }
    void Clear() {
        lines_.clear();
        unsaved_ = false;
    }
    const std::vector<std::string>& Lines() const { return lines_; }
    bool HasUnsavedLines() const { return unsaved_; }

    // Appends every line (CR LF each) to the file, creating it when missing, then clears
    // the log. When the file cannot be written the lines and the flag stay, so nothing is
    // lost, and the file is cut back to its earlier length, so no line is in it twice
    // after the next append; the caller shows "*** ファイル追加エラーが発生しました。".
    bool AppendToFile(const std::string& sjisPath);

private:
    std::vector<std::string> lines_;
    bool unsaved_ = false;
};

// The logs of the running program, owned by the main window and handed to every flow.
struct TLogs {
    TErrorLog Error;
    TSaveLog Save;

    void AddErrorLog(const std::string& line) { Error.Add(line); }
    void AddSaveLog(const std::string& line) { Save.Add(line); }
};

// The status text of a failed append to the save-log file.
std::string SaveLogAppendError();

} // namespace pendlar

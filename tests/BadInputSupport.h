#pragma once

#include <SQLiteCpp/Database.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "report/ReportFont.h"
#include "solver/RationalMethod.h"
#include "store/ElementRows.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"

// What the bad-input tests of the core, the command line and the windows
// share: the texts an engineer may type, the damaged files, a reader for the
// text of an RTF file, fingerprints of a folder and a way to meet a read-only
// file as an ordinary user even when the tests run as root.
namespace torrenta::test {

struct TypedText {
    const char* label;
    std::string text;
};

// 5,000 characters of a long description, multi-byte ones among them.
inline std::string LongText() {
    static const std::u32string kPattern =
        U"Lot 7 {\u00E9} \u65E5\u672C \\ 'x' \"y\" ;% & # -- \u00D8 ";
    std::u32string characters;
    while (characters.size() < 5000) {
        characters += kPattern;
    }
    // A last character that is no blank: the plain-text report trims blanks
    // at the ends of its lines.
    characters.resize(4999);
    characters += U'.';
    std::string text;
    for (const char32_t c : characters) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

// Each character SQL, RTF, printf-style formats or a shell could take for
// syntax, alone and among words, and the characters beyond ASCII. The empty
// text is tested on its own: only some boxes take it.
inline const std::vector<TypedText>& TypedTexts() {
    static const std::vector<TypedText> texts = {
        {"apostrophe", "'"},
        {"apostrophes among words", "O'Brien's lot"},
        {"double quote", "\""},
        {"double quotes among words", "24\" \"main\" pipe"},
        {"semicolon", ";"},
        {"comment dashes", "--"},
        {"backslash", "\\"},
        {"backslashes among words", "C:\\Jobs\\2026\\"},
        {"opening brace", "{"},
        {"closing brace", "}"},
        {"braces among words", "{\\rtf1 Lot} {x}"},
        {"percent", "%s %d 50%"},
        {"ampersand", "R&D &amp;"},
        {"hash", "#1"},
        {"tab", "Lot\t7"},
        {"line feed", "Line one\nline two"},
        {"carriage return and line feed", "Line one\r\nline two"},
        {"5,000 characters", LongText()},
        {"e acute", "Caf\u00E9 \u00E9"},
        {"O stroke", "\u00D8ster \u00D8"},
        {"Japanese", "\u65E5\u672C"},
        {"statement", "x'); DROP TABLE TblBasinInfo; --"},
    };
    return texts;
}

// True when the text holds a tab or a line break: such text reaches a box by
// pasting, not by typing.
inline bool HasControlCharacters(std::string_view text) {
    return text.find_first_of("\t\r\n") != std::string_view::npos;
}

// A stored text as a report prints it: each TAB, CR and LF a space.
inline std::string SpacedControls(std::string text) {
    for (char& c : text) {
        c = (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
    return text;
}

// A text as the report shows it: CR LF, CR and LF each end a paragraph, which
// the report's text gives as one "\n".
inline std::string ReportLines(std::string_view text) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            lines += text[i];
        }
    }
    return lines;
}

// The first `count` characters (not bytes) of a UTF-8 text.
inline std::string FirstCharacters(const std::string& text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < count; ++characters) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            ++end;
        }
    }
    return text.substr(0, end);
}

// A report text with each run of TABs as one: a short name takes one TAB more
// to reach its column, which is layout, not text.
inline std::string OneTabPerGap(const std::string& text) {
    std::string result;
    for (const char c : text) {
        if (c != '\t' || result.empty() || result.back() != '\t') {
            result += c;
        }
    }
    return result;
}

// One cell of an expected report row. A name or type has `room`: the twips
// from where its cell starts to the next column, less the 60 the report keeps
// clear. A number has none and is never cut.
struct ExpectedCell {
    std::string text;
    double room = 0;
};

// The cell as the 10-point report prints it: whole when it fits its room,
// else its longest start that fits with "\u2026" after it, never ending in a
// blank (that would read as a whole word).
inline std::string FittedCell(const ExpectedCell& cell) {
    const CharFormat body{.size = 10.0};
    const auto width = [&](const std::string& text) {
        return TextWidthTwips(SpacedControls(text), body);
    };
    if (cell.room <= 0 || width(cell.text) <= cell.room) {
        return ReportLines(cell.text);
    }
    std::size_t kept = 0;
    for (const char c : cell.text) {
        kept += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    std::string start;
    while (kept-- > 0) {
        start = FirstCharacters(cell.text, kept);
        if (start.empty() ||
            (SpacedControls(start).back() != ' ' && width(start + "\u2026") <= cell.room)) {
            break;
        }
    }
    return ReportLines(start) + "\u2026";
}

// True when the report holds the row as one line, each cell as FittedCell
// gives it. A row that is not `whole` may go on after its last cell.
inline bool ShowsRow(const std::string& report, const std::vector<ExpectedCell>& cells,
                     bool whole = true) {
    std::string row = "\n";
    for (std::size_t k = 0; k < cells.size(); ++k) {
        row += FittedCell(cells[k]) + (k + 1 < cells.size() || !whole ? "\t" : "\n");
    }
    return OneTabPerGap(report).find(OneTabPerGap(row)) != std::string::npos;
}

inline void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// RTF is 7-bit text: everything beyond ASCII must arrive as an escape.
inline bool IsSevenBit(std::string_view rtf) {
    for (const char c : rtf) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The text an RTF reader finds in a document, decoded from the escapes
// independently of the writer: \par and \line end a line, \tab is a tab,
// \uN (with its one fallback character) and \'hh are characters, \\ \{ \}
// are themselves, and the font and colour tables, the page footer and \*
// destinations are skipped. Unbalanced braces or a broken escape give "<broken RTF ...>".
inline std::string RtfText(std::string_view rtf) {
    std::string text;
    char16_t highSurrogate = 0;
    int depth = 0;
    int skipUntilDepth = -1;  // inside a skipped group while depth >= this
    std::size_t i = 0;
    const auto skipping = [&] { return skipUntilDepth >= 0 && depth >= skipUntilDepth; };
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            ++i;
            if (!skipping()) {
                for (const std::string_view destination :
                     {"\\fonttbl", "\\colortbl", "\\footer", "\\*"}) {
                    if (rtf.substr(i, destination.size()) == destination) {
                        skipUntilDepth = depth;
                    }
                }
            }
            continue;
        }
        if (c == '}') {
            if (skipUntilDepth == depth) {
                skipUntilDepth = -1;
            }
            if (--depth < 0) {
                return "<broken RTF: unbalanced braces>";
            }
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c != '\\') {
            if (!skipping()) {
                text += c;
            }
            ++i;
            continue;
        }
        if (i + 1 >= rtf.size()) {
            return "<broken RTF: a lone backslash at the end>";
        }
        const char next = rtf[i + 1];
        if (next == '\\' || next == '{' || next == '}') {
            if (!skipping()) {
                text += next;
            }
            i += 2;
            continue;
        }
        if (next == '*') {
            i += 2;
            continue;
        }
        if (next == '\'') {
            const std::string hex(rtf.substr(i + 2, 2));
            if (!skipping()) {
                AppendUtf8(text, static_cast<char32_t>(std::stoi(hex, nullptr, 16)));
            }
            i += 4;
            continue;
        }
        std::size_t j = i + 1;
        while (j < rtf.size() &&
               ((rtf[j] >= 'a' && rtf[j] <= 'z') || (rtf[j] >= 'A' && rtf[j] <= 'Z'))) {
            ++j;
        }
        const std::string word(rtf.substr(i + 1, j - i - 1));
        if (word.empty()) {
            return "<broken RTF: an unknown control symbol>";
        }
        const std::size_t numberStart = j;
        if (j < rtf.size() && rtf[j] == '-') {
            ++j;
        }
        while (j < rtf.size() && rtf[j] >= '0' && rtf[j] <= '9') {
            ++j;
        }
        const std::string number(rtf.substr(numberStart, j - numberStart));
        if (j < rtf.size() && rtf[j] == ' ') {
            ++j;
        }
        i = j;
        if (skipping()) {
            continue;
        }
        if (word == "par" || word == "line") {
            text += '\n';
        } else if (word == "tab") {
            text += '\t';
        } else if (word == "u" && !number.empty()) {
            const auto unit = static_cast<char16_t>(static_cast<std::int16_t>(std::stoi(number)));
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                highSurrogate = unit;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate != 0) {
                AppendUtf8(text, 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
                highSurrogate = 0;
            } else {
                AppendUtf8(text, unit);
            }
            // \uc1: one fallback character follows for readers without Unicode.
            if (i < rtf.size() && rtf[i] != '\\' && rtf[i] != '{' && rtf[i] != '}') {
                ++i;
            }
        }
    }
    if (depth != 0) {
        return "<broken RTF: unbalanced braces>";
    }
    return text;
}

inline std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every entry under a folder with its size and a hash of its bytes; two
// fingerprints are equal when no file was added, removed or changed.
using Fingerprint = std::map<std::string, std::string>;

inline Fingerprint FolderFingerprint(const std::filesystem::path& folder) {
    Fingerprint entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = std::filesystem::relative(entry.path(), folder).string();
        if (entry.is_directory()) {
            entries[name] = "folder";
            continue;
        }
        std::uint64_t hash = 1469598103934665603ull;
        for (const char c : ReadFileBytes(entry.path())) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
        entries[name] = std::to_string(entry.file_size()) + " bytes, hash " + std::to_string(hash);
    }
    return entries;
}

// What changed between two fingerprints, for a failure message.
inline std::string FingerprintChanges(const Fingerprint& before, const Fingerprint& after) {
    std::string changes;
    for (const auto& [name, print] : before) {
        const auto found = after.find(name);
        if (found == after.end()) {
            changes += "removed " + name + "; ";
        } else if (found->second != print) {
            changes += "changed " + name + "; ";
        }
    }
    for (const auto& [name, print] : after) {
        if (!before.count(name)) {
            changes += "added " + name + "; ";
        }
    }
    return changes;
}

// A project set up with one complete element of each kind, as the add
// dialogs would store them, solved against Atlanta.
inline void MakeSampleProject(const std::string& appFolder, const std::string& path) {
    NewProject(appFolder, path);
    SaveProjectSetup(path, {"Mill Run", "A. Rivera", "J. Okafor", "12/8/2026", "J-17", ""},
                     "Outfall", "Atlanta");
    InsertElementRow(
        path, BasinRow{"Basin1", "North Lots", "650", "840", "3", "Lawn", "0.4", "0.02", "150",
                       "False", "Grass, Dense grass", "0.24", "18.3066"});
    InsertElementRow(path, SurfaceRow{"Surface1", "Rear Swale", "650", "1680", "0.02", "500",
                                      "False", "2.2811", "Unpaved", "3.6532"});
    InsertElementRow(
        path, ChannelRow{"Channel1", "Maple Ditch", "650", "2520", "10", "8", "0.005", "1000",
                         "Concrete Channel", "0.013", "False", "9.3792", "1.7770"});
    SolveRationalMethod(path, appFolder, "Atlanta", 3.0, 0.4, 23.7368);
}

// Files an engineer may pick as a project that are no project.
enum class Damage {
    EmptyFile,
    RandomBytes,
    Truncated,
    OtherProgram,
    MissingTable,
    MissingColumn,
    Folder
};

struct DamagedProject {
    const char* label;
    Damage damage;
    const char* reason;  // what the message says, after the file's name
};

inline const std::vector<DamagedProject>& DamagedProjects() {
    static const std::vector<DamagedProject> cases = {
        {"an empty file", Damage::EmptyFile, "is not a Torrenta project: the file is empty."},
        {"random bytes", Damage::RandomBytes, "is not a Torrenta project: file is not a database."},
        {"a truncated project", Damage::Truncated,
         "is not a Torrenta project: database disk image is malformed."},
        {"a database of another program", Damage::OtherProgram,
         "is not a Torrenta project: it is a database of another program."},
        {"a project missing a table", Damage::MissingTable,
         "is not a Torrenta project: the table TblChannelInfo is missing."},
        {"a project missing a column", Damage::MissingColumn,
         "is not a Torrenta project: the table TblBasinInfo has no column Tc."},
        {"a folder", Damage::Folder, "it is a folder, not a file."},
    };
    return cases;
}

inline void MakeDamagedProject(Damage damage, const std::string& appFolder,
                               const std::string& path) {
    switch (damage) {
        case Damage::EmptyFile:
            WriteFileBytes(path, "");
            return;
        case Damage::RandomBytes: {
            std::mt19937 random(20261208);
            std::string bytes(8192, '\0');
            for (char& byte : bytes) {
                byte = static_cast<char>(random() & 0xFF);
            }
            WriteFileBytes(path, bytes);
            return;
        }
        case Damage::Truncated:
            MakeSampleProject(appFolder, path);
            std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
            return;
        case Damage::OtherProgram: {
            SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
            db.exec(
                "CREATE TABLE Notes (Id INTEGER PRIMARY KEY, Body TEXT);"
                "INSERT INTO Notes (Body) VALUES ('groceries')");
            return;
        }
        case Damage::MissingTable:
            MakeSampleProject(appFolder, path);
            SQLite::Database(path, SQLite::OPEN_READWRITE).exec("DROP TABLE TblChannelInfo");
            return;
        case Damage::MissingColumn:
            MakeSampleProject(appFolder, path);
            SQLite::Database(path, SQLite::OPEN_READWRITE)
                .exec("ALTER TABLE TblBasinInfo DROP COLUMN Tc");
            return;
        case Damage::Folder:
            std::filesystem::create_directory(path);
            return;
    }
}

// Write protection does not stop root, and tests may run as root. The user
// "nobody" stands in for an ordinary user then: it owns the test folder, and
// the program (or the action under test) runs as nobody, for whom a file of
// mode 0444 is read-only as it would be for the engineer.
inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNobodyGroup = 65534;

inline bool RunningAsRoot() {
    return geteuid() == 0;
}

// Hands the folder and everything in it to nobody; false when that is refused.
inline bool GiveToNobody(const std::filesystem::path& folder) {
    if (chown(folder.c_str(), kNobody, kNobodyGroup) != 0) {
        return false;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (chown(entry.path().c_str(), kNobody, kNobodyGroup) != 0) {
            return false;
        }
    }
    return true;
}

// Makes `file` read-only for the user the program runs as: mode 0444 and,
// under root, the folder handed to nobody. False when that cannot be arranged.
inline bool MakeReadOnly(const std::filesystem::path& file) {
    if (RunningAsRoot() && !GiveToNobody(file.parent_path())) {
        return false;
    }
    std::error_code ec;
    std::filesystem::permissions(file,
                                 std::filesystem::perms::owner_read |
                                     std::filesystem::perms::group_read |
                                     std::filesystem::perms::others_read,
                                 ec);
    return !ec;
}

// Within its scope this process acts as nobody when it runs as root (the
// effective ids only, so the scope's end restores root); elsewhere it acts as
// itself. Active() is false when root could not take on nobody's ids.
class ActingAsOrdinaryUser {
  public:
    ActingAsOrdinaryUser() {
        if (!RunningAsRoot()) {
            return;
        }
        switched_ = setegid(kNobodyGroup) == 0 && seteuid(kNobody) == 0;
        active_ = switched_;
        if (!switched_) {
            Restore();
        }
    }
    ~ActingAsOrdinaryUser() {
        if (switched_) {
            Restore();
        }
    }
    ActingAsOrdinaryUser(const ActingAsOrdinaryUser&) = delete;
    ActingAsOrdinaryUser& operator=(const ActingAsOrdinaryUser&) = delete;

    bool Active() const { return active_; }

  private:
    static void Restore() {
        if (seteuid(0) != 0 || setegid(0) != 0) {
            std::perror("cannot return to root");
        }
    }

    bool switched_ = false;
    bool active_ = true;
};

// One run of a program as its own process, the way a shell would start it.
struct ProcessOutcome {
    bool exited = false;  // false: ended by a signal
    int code = -1;        // exit code, or the signal's number
    std::string out;
    std::string err;
};

struct StartedProcess {
    pid_t pid = -1;
    std::filesystem::path outFile;
    std::filesystem::path errFile;
};

// Starts `program` with `args` (no shell: every argument arrives as given),
// its output going to files outside any folder a test watches. With
// `asOrdinaryUser` a root parent runs it as nobody.
inline StartedProcess StartProgram(const std::string& program, const std::vector<std::string>& args,
                                   bool asOrdinaryUser = false) {
    StartedProcess started;
    std::random_device random;
    const std::string stem = "torrenta-run-" + std::to_string(random()) + std::to_string(random());
    started.outFile = std::filesystem::temp_directory_path() / (stem + ".out");
    started.errFile = std::filesystem::temp_directory_path() / (stem + ".err");
    const int out = open(started.outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(started.errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (auto& arg : argv) {
        pointers.push_back(arg.data());
    }
    pointers.push_back(nullptr);
    started.pid = fork();
    if (started.pid == 0) {
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        if (asOrdinaryUser && RunningAsRoot() &&
            (setgroups(0, nullptr) != 0 || setgid(kNobodyGroup) != 0 || setuid(kNobody) != 0)) {
            _exit(126);
        }
        execv(program.c_str(), pointers.data());
        _exit(127);
    }
    close(out);
    close(err);
    return started;
}

inline ProcessOutcome FinishProgram(const StartedProcess& started) {
    ProcessOutcome outcome;
    int status = 0;
    if (started.pid > 0 && waitpid(started.pid, &status, 0) == started.pid) {
        outcome.exited = WIFEXITED(status);
        outcome.code = outcome.exited ? WEXITSTATUS(status) : WTERMSIG(status);
    }
    outcome.out = ReadFileBytes(started.outFile);
    outcome.err = ReadFileBytes(started.errFile);
    std::error_code ec;
    std::filesystem::remove(started.outFile, ec);
    std::filesystem::remove(started.errFile, ec);
    return outcome;
}

inline ProcessOutcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                                 bool asOrdinaryUser = false) {
    return FinishProgram(StartProgram(program, args, asOrdinaryUser));
}

}  // namespace torrenta::test

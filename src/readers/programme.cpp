// Race programme reader and the seed file that redirects the PAT98 folder.

#include <algorithm>
#include <array>

#include "platform/replace_file.h"
#include "platform/run_error.h"
#include "platform/sjis.h"
#include "readers/pat98_file.h"
#include "readers/quick_text.h"
#include "readers/readers.h"

namespace zb {

namespace {

constexpr std::size_t kProgrammeChars = 653;
constexpr std::size_t kProgrammeMaxBytes = kProgrammeChars * 2 + 2;
// The longest path Windows takes is 32,767 characters: in Shift-JIS at most
// twice as many bytes, and the line end.
constexpr std::size_t kSeedMaxBytes = 32767 * 2 + 2;
constexpr std::size_t kMeetingFieldsEnd = 68;
constexpr int kFlagBase = 573;  // race k's flag is at 573 + k

// The tables one read fills; committed to the state only when every file read
// well, so a half-written file leaves the last good read in place.
struct Programme {
    FixedText<8> raceDate;
    int16_t serial = 0;
    int32_t balance = 0;
    int16_t meetingCount = 0;
    Grid<int16_t, 1, 6, 1, 3> meetings;
    Grid<int16_t, 1, 6, 1, 12> flags;
};

std::u16string ProgrammeText(std::string_view bytes) {
    SeqReader in = SeqReader::Over(bytes.substr(0, kProgrammeMaxBytes));
    long n = static_cast<long>(in.length()) - 2;  // the line end is not read
    std::u16string text = in.chars(n);
    // A file cut inside the meeting codes would give a code cut short ("0"
    // for "02"): it fails as one too short to reach them.
    if (text.size() < kMeetingFieldsEnd) Fail(kErrTypeMismatch);
    return PadTo(text, kProgrammeChars);
}

void ReadMeetingRow(Programme& p, int row, std::u16string_view text) {
    p.meetings(row, 1) = QuickStrictI16(Mid(text, 59, 2));
    p.meetings(row, 2) = QuickStrictI16(Mid(text, 65, 2));
    p.meetings(row, 3) = QuickStrictI16(Mid(text, 67, 2));
}

void ReadFlagRow(Programme& p, int row, std::u16string_view text) {
    if (p.serial <= 0) return;
    for (int k = 1; k <= 12; ++k) p.flags(row, k) = QuickLenientI16(Mid(text, kFlagBase + k, 1));
}

std::string ProgrammePath(const AppState& s, std::size_t row) {
    return JoinPath(s.Pat98Folder, std::string("\\UY-") + static_cast<char>('A' + row) + ".JRA");
}

}  // namespace

void ParseProgramme(AppState& s, const ProgrammeFiles& files) {
    // Absent rows keep the earlier read; the flags are cleared at every read.
    Programme p;
    p.raceDate = s.RaceDate;
    p.serial = s.ProgrammeSerial;
    p.balance = s.AccountBalance;
    p.meetings = s.MeetingTable;

    if (!files[0]) {
        s.RaceFlags.fill(0);
        s.MeetingCount = 0;
        s.ErrorCode = 1;
        return;
    }
    p.meetingCount = 1;
    InFile(ProgrammePath(s, 0), [&] {
        std::u16string text = ProgrammeText(*files[0]);
        ReadMeetingRow(p, 1, text);
        p.balance = QuickLenientI32(Mid(text, 25, 8));
        p.balance = Sub(p.balance, QuickLenientI32(Mid(text, 33, 8)));
        p.balance = Add(p.balance, QuickLenientI32(Mid(text, 41, 8)));
        p.balance = Add(p.balance, QuickLenientI32(Mid(text, 49, 8)));
        p.raceDate.assign(Mid(text, 1, 8));
        p.serial = QuickLenientI16(Mid(text, 9, 4));
        ReadFlagRow(p, 1, text);
    });

    for (int row = 2; row <= 6; ++row) {
        const auto& file = files[static_cast<std::size_t>(row - 1)];
        if (!file) continue;
        if (row <= 3) ++p.meetingCount;
        InFile(ProgrammePath(s, static_cast<std::size_t>(row - 1)), [&] {
            std::u16string t = ProgrammeText(*file);
            ReadMeetingRow(p, row, t);
            ReadFlagRow(p, row, t);
        });
    }

    s.RaceDate = p.raceDate;
    s.ProgrammeSerial = p.serial;
    s.AccountBalance = p.balance;
    s.MeetingCount = p.meetingCount;
    s.MeetingTable = p.meetings;
    s.RaceFlags = p.flags;
    s.ErrorCode = 0;
}

void ReadProgramme(AppState& s) {
    std::array<std::string, 6> bytes;
    ProgrammeFiles files;
    for (std::size_t row = 0; row < 6; ++row) {
        const auto found = FindFile(ProgrammePath(s, row));
        if (!found) {
            // The other files are of no use without the first.
            if (row == 0) break;
            continue;
        }
        bytes[row] = InFile(*found, [&] { return ReadPat98File(*found, kProgrammeMaxBytes); });
        files[row] = bytes[row];
    }
    ParseProgramme(s, files);
}

void ReadFolderRedirect(AppState& s) {
    const std::string seed = JoinPath(s.HomeFolder, "\\zubrica.txt");
    if (!FileExists(seed)) {
        s.Pat98Folder = s.HomeFolder;
        return;
    }
    InFile(seed, [&] { ParseFolderRedirect(s, ReadFileUpTo(seed, kSeedMaxBytes)); });
}

std::string SeedFolder(std::string_view bytes) {
    // Longer than any path: it names no folder, and the folder stays as it was.
    if (bytes.size() > kSeedMaxBytes) Fail(kErrPathFileAccess);
    // The first line, whatever its line end (CR LF, LF alone, or none).
    bytes = bytes.substr(0, std::min(bytes.find('\r'), bytes.find('\n')));
    return U16ToUtf8(std::u16string(TrimBlanks(DecodeSjis(bytes))));
}

RedirectProblem CheckRedirectFolder(const std::string& folder) {
    if (FileExists(JoinPath(folder, "\\UY-A.JRA"))) return RedirectProblem::kNone;
    if (FolderExists(folder)) return RedirectProblem::kNoProgramme;
    if (FileExists(folder)) return RedirectProblem::kNotFolder;
    return RedirectProblem::kMissing;
}

std::string RedirectProblemText(RedirectProblem p, const std::string& folder,
                                const std::string& inUse) {
    std::string what;
    switch (p) {
        case RedirectProblem::kNone:
            return {};
        case RedirectProblem::kMissing:
            what = "zubrica.txt のフォルダがありません。";
            break;
        case RedirectProblem::kNotFolder:
            what = "zubrica.txt の指すものはフォルダではありません。";
            break;
        case RedirectProblem::kNoProgramme:
            what = "zubrica.txt のフォルダに投票要項 (UY-A.JRA) がありません。";
            break;
    }
    return what + "\n" + folder + "\n" + inUse + " から読みます。";
}

void ParseFolderRedirect(AppState& s, std::string_view bytes) {
    const std::string folder = SeedFolder(bytes);
    // A blank seed file redirects nothing.
    if (folder.empty()) {
        s.Pat98Folder = s.HomeFolder;
        return;
    }
    // A folder PAT98 files cannot come from would show an empty day as if no
    // bet had been placed: say so, and stay with the folder in use.
    const RedirectProblem p = CheckRedirectFolder(folder);
    if (p != RedirectProblem::kNone) {
        if (s.Messages)
            s.Messages->critical(kRedirectTitle, RedirectProblemText(p, folder, s.Pat98Folder));
        return;
    }
    s.Pat98Folder = folder;
}

}  // namespace zb

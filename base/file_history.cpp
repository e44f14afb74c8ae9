#include "base/file_history.h"

#include "base/errors.h"
#include "base/settings_file.h"
#include "base/shared_texts.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <zstd.h>

namespace velmo {

namespace fs = std::filesystem;
using Clock = std::chrono::system_clock;

namespace {

constexpr const char *IndexName = "index";
constexpr const char *IndexMagic = "velmaro-history\t1";
constexpr const char *VersionMagic = "velmaro-version\t1";
constexpr const char *TemporaryPrefix = ".tmp."; // mkstemp's six letters follow
// A zstd skippable frame: its magic number (little-endian) and a 32-bit size, then the bytes.
constexpr uint32_t SkippableMagic = 0x184D2A50;
constexpr size_t MaxIndexBytes = size_t{4} << 20;
constexpr size_t MaxHeaderBytes = 4096;

std::mutex settingsMutex;
HistoryOrigin origin{"", ""};
HistorySettings settings;
HistoryClock clock;
std::function<void(const std::string &)> warning;
int faultStep = 0, faultError = 0;
std::function<void(int)> stepHook;

Clock::time_point nowTime()
{
    std::lock_guard guard(settingsMutex);
    return clock ? clock() : Clock::now();
}

// Tests: the hook of this step, then the planned fault of it (once).
void step(int n)
{
    if (stepHook)
        stepHook(n);
    if (faultStep == n) {
        faultStep = 0;
        errno = faultError;
        throw std::system_error(faultError, std::generic_category());
    }
}

// A field of a line: tabs and line ends would split it, so they become spaces.
std::string field(std::string text)
{
    for (char &c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> out;
    for (;;) {
        const size_t tab = line.find('\t');
        out.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return out;
        line.remove_prefix(tab + 1);
    }
}

template <class T>
bool numberOf(std::string_view text, T &out, int base = 10)
{
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string hexOf(uint64_t v)
{
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

int64_t nanosOf(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

// The fields a version says of itself, in the index and in its own header, without the
// stored size (the index's last field).
std::string describe(const HistoryVersion &v)
{
    return std::to_string(v.number) + '\t' + std::to_string(nanosOf(v.time)) + '\t' + field(v.program) + '\t' +
           field(v.command) + '\t' + field(v.user) + '\t' + field(v.host) + '\t' + std::to_string(v.size) + '\t' +
           hexOf(v.hash);
}

// The fields of `describe` from `f` (8 of them); false when they are not ours.
bool parseDescription(const std::vector<std::string_view> &f, HistoryVersion &v)
{
    if (f.size() < 8)
        return false;
    int64_t ns = 0;
    if (!numberOf(f[0], v.number) || v.number <= 0 || !numberOf(f[1], ns) || !numberOf(f[6], v.size) ||
        !numberOf(f[7], v.hash, 16))
        return false;
    v.time = Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(ns)));
    v.program = f[2];
    v.command = f[3];
    v.user = f[4];
    v.host = f[5];
    return true;
}

std::string versionName(int number)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "v%06d.zst", number);
    return buf;
}

// The number a version's file name gives, nothing for any other name.
std::optional<int> numberOfName(const std::string &name)
{
    if (name.size() != 11 || name[0] != 'v' || name.compare(7, 4, ".zst") != 0)
        return std::nullopt;
    int n = 0;
    if (!numberOf(std::string_view(name).substr(1, 6), n) || n <= 0)
        return std::nullopt;
    return n;
}

bool isTemporaryName(const std::string &name)
{
    return name.size() == std::strlen(TemporaryPrefix) + 6 && name.rfind(TemporaryPrefix, 0) == 0;
}

uint32_t readLe32(const char *p)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

void appendLe32(std::string &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
}

// The file `name` of the folder, opened without following a link; nothing when it is gone.
// Raises std::system_error for any other failure, and for what is not a regular file or is
// larger than `maxBytes`.
std::optional<std::string> readOwnFile(const fs::path &path, size_t maxBytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw std::system_error(errno, std::generic_category());
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw std::system_error(errno, std::generic_category());
    if (!S_ISREG(st.st_mode) || static_cast<uintmax_t>(st.st_size) > maxBytes)
        throw std::system_error(EINVAL, std::generic_category());
    std::string bytes(static_cast<size_t>(st.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw std::system_error(errno, std::generic_category());
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

// The description in a version file's header; false when the file does not start with one.
bool headerOf(std::string_view bytes, HistoryVersion &v, size_t &contentStart)
{
    if (bytes.size() < 8 || readLe32(bytes.data()) != SkippableMagic)
        return false;
    const uint32_t length = readLe32(bytes.data() + 4);
    if (length > MaxHeaderBytes || bytes.size() < 8 + size_t{length})
        return false;
    const std::string_view line = bytes.substr(8, length);
    const std::string_view magic(VersionMagic);
    if (line.substr(0, magic.size()) != magic || line.size() <= magic.size() || line[magic.size()] != '\t')
        return false;
    contentStart = 8 + length;
    return parseDescription(splitTabs(line.substr(magic.size() + 1)), v);
}

// Flushes a folder's entries; failures of file systems that cannot are ignored.
void syncFolderOf(const fs::path &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category());
    const int rc = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    if (rc != 0)
        throw std::system_error(rc, std::generic_category());
}

// Writes `bytes` to a new temporary file of `folder`, flushed, readable as a new file of the
// user's umask is, then renames it to `name` and flushes the folder. `firstStep`: the step
// numbers of the make, the write, the flush and the rename begin there (0: none).
void writeOwnFile(const fs::path &folder, const std::string &name, std::string_view bytes, int firstStep)
{
    std::string tmpl = (folder / (std::string(TemporaryPrefix) + "XXXXXX")).string();
    auto at = [&](int offset) {
        if (firstStep > 0)
            step(firstStep + offset);
    };
    at(0);
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        throw std::system_error(errno, std::generic_category());
    try {
        bool halfFault = firstStep > 0 && faultStep == firstStep + 1;
        const size_t reach = halfFault ? bytes.size() / 2 : bytes.size();
        size_t done = 0;
        while (done < reach) {
            const ssize_t n = ::write(fd, bytes.data() + done, reach - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw std::system_error(errno, std::generic_category());
            done += static_cast<size_t>(n);
        }
        at(1);
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
        at(2);
        if (::fsync(fd) != 0)
            throw std::system_error(errno, std::generic_category());
        if (::close(fd) != 0) {
            const int err = errno;
            throw std::system_error(err, std::generic_category());
        }
    } catch (...) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        throw;
    }
    try {
        at(3);
        if (::rename(tmpl.c_str(), (folder / name).c_str()) != 0)
            throw std::system_error(errno, std::generic_category());
    } catch (...) {
        ::unlink(tmpl.c_str());
        throw;
    }
    syncFolderOf(folder);
}

// What a history folder holds, as read: the versions and the highest number any version file
// has (so that no number is used twice, even one of a damaged file).
struct FolderState {
    HistoryListing listing;
    int highest = 0;
    bool exists = false;
};

// Refuses a history folder (or the folder of histories above it) that is a link or not a
// folder; false when it does not exist.
bool checkFolder(const fs::path &folder)
{
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return false;
        throw IoError(sharedtext::unreadableFileText(folder, systemErrorText(errno)));
    }
    if (S_ISLNK(st.st_mode))
        throw IoError(sharedtext::historyFolderLinkText(folder));
    if (!S_ISDIR(st.st_mode))
        throw IoError(sharedtext::historyFolderForeignText(folder));
    return true;
}

FolderState readFolder(const fs::path &file)
{
    FolderState s;
    s.listing.folder = historyFolderOf(file);
    const fs::path &folder = s.listing.folder;
    if (!checkFolder(folder.parent_path()) || !checkFolder(folder))
        return s;
    s.exists = true;

    std::map<int, HistoryVersion> indexed;
    std::optional<std::string> index;
    try {
        index = readOwnFile(folder / IndexName, MaxIndexBytes);
    } catch (const std::system_error &e) {
        throw IoError(sharedtext::unreadableFileText(folder / IndexName, systemErrorText(e.code().value())));
    }
    if (index) {
        std::string_view rest(*index);
        const size_t eol = rest.find('\n');
        if (rest.substr(0, eol) != IndexMagic)
            throw IoError(sharedtext::historyFolderForeignText(folder));
        rest.remove_prefix(eol == std::string_view::npos ? rest.size() : eol + 1);
        while (!rest.empty()) {
            const size_t end = rest.find('\n');
            const std::string_view line = rest.substr(0, end);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
            const auto f = splitTabs(line);
            HistoryVersion v;
            if (f.size() == 9 && parseDescription(f, v) && numberOf(f[8], v.storedBytes))
                indexed[v.number] = v;
        }
    }

    std::map<int, HistoryVersion> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name == IndexName || isTemporaryName(name))
            continue;
        std::error_code e;
        const auto number = numberOfName(name);
        if (!number || it->is_symlink(e) || !it->is_regular_file(e)) {
            s.listing.skipped.push_back(sharedtext::historyFileSkippedText(it->path(), sharedtext::ForeignHistoryFileText));
            continue;
        }
        s.highest = std::max(s.highest, *number);
        const uintmax_t stored = it->file_size(e);
        if (e)
            continue;
        if (const auto i = indexed.find(*number); i != indexed.end() && i->second.storedBytes == stored) {
            found[*number] = i->second;
            continue;
        }
        // A version the index does not name (a save ended before it wrote the index): its own
        // header says what it is.
        HistoryVersion v;
        size_t start = 0;
        bool ok = false;
        try {
            const auto bytes = readOwnFile(it->path(), MaxHeaderBytes + 8);
            ok = bytes && headerOf(*bytes, v, start) && v.number == *number;
        } catch (const std::system_error &) {
            // a file too short for its header is read whole, so only a failed read lands here
            try {
                const auto bytes = readOwnFile(it->path(), stored);
                ok = bytes && headerOf(*bytes, v, start) && v.number == *number;
            } catch (const std::system_error &) {
            }
        }
        if (!ok) {
            s.listing.skipped.push_back(sharedtext::historyFileSkippedText(it->path(), sharedtext::DamagedVersionText));
            continue;
        }
        v.storedBytes = stored;
        found[*number] = v;
    }
    if (ec)
        throw IoError(sharedtext::unreadableFileText(folder, systemErrorText(ec.value())));
    for (auto &[n, v] : found)
        s.listing.versions.push_back(std::move(v));
    return s;
}

std::string userName()
{
    if (const char *u = std::getenv("USER"); u && *u)
        return u;
    if (const passwd *pw = ::getpwuid(::geteuid()))
        return pw->pw_name;
    return std::to_string(::geteuid());
}

std::string hostName()
{
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0)
        return "";
    return buf;
}

// Makes `folder` when it is not there (then checks it as it found it).
void makeFolder(const fs::path &folder)
{
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        throw std::system_error(errno, std::generic_category());
    checkFolder(folder);
}

std::string indexBytes(const std::vector<HistoryVersion> &versions)
{
    std::string out = std::string(IndexMagic) + '\n';
    for (const HistoryVersion &v : versions)
        out += describe(v) + '\t' + std::to_string(v.storedBytes) + '\n';
    return out;
}

int64_t localDay(Clock::time_point t, bool monthOnly)
{
    const std::time_t tt = Clock::to_time_t(t);
    std::tm tm {};
    ::localtime_r(&tt, &tm);
    const int64_t month = int64_t{tm.tm_year} * 12 + tm.tm_mon;
    return monthOnly ? month : month * 32 + tm.tm_mday;
}

} // namespace

HistorySettings readHistorySettings(const fs::path &settingsFile)
{
    HistorySettings s;
    const std::optional<SettingsFile> file = SettingsFile::read(settingsFile);
    if (!file)
        return s;
    auto number = [&](const char *key, int low, int high, int fallback) {
        int v = 0;
        const auto text = file->value(key);
        return text && numberOf(std::string_view(*text), v) && v >= low && v <= high ? v : fallback;
    };
    s.enabled = number("[HISTORY]", 0, 1, 1) == 1;
    s.allDays = number("[HISTORY_ALL_DAYS]", 0, 3650, s.allDays);
    s.dailyDays = number("[HISTORY_DAILY_DAYS]", 0, 36500, s.dailyDays);
    s.maxVersions = number("[HISTORY_MAX_VERSIONS]", 1, 100000, s.maxVersions);
    s.maxBytes = uintmax_t(number("[HISTORY_MAX_MB]", 1, 1 << 20, static_cast<int>(s.maxBytes >> 20))) << 20;
    return s;
}

void setHistoryOrigin(const HistoryOrigin &o)
{
    std::lock_guard guard(settingsMutex);
    origin = o;
}

HistoryOrigin historyOrigin()
{
    std::lock_guard guard(settingsMutex);
    return origin;
}

void setHistorySettings(const HistorySettings &s)
{
    std::lock_guard guard(settingsMutex);
    settings = s;
}

HistorySettings historySettings()
{
    std::lock_guard guard(settingsMutex);
    return settings;
}

void setHistoryClock(HistoryClock c)
{
    std::lock_guard guard(settingsMutex);
    clock = std::move(c);
}

void setHistoryWarning(std::function<void(const std::string &)> warn)
{
    std::lock_guard guard(settingsMutex);
    warning = std::move(warn);
}

void planHistoryFault(int stepNumber, int error)
{
    faultStep = stepNumber;
    faultError = error;
}

void setHistoryStepHook(std::function<void(int)> hook) { stepHook = std::move(hook); }

fs::path historyFolderOf(const fs::path &file)
{
    const fs::path target = followLinks(file);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    return folder / HistoryFolderName / target.filename();
}

HistoryListing listHistory(const fs::path &file) { return readFolder(file).listing; }

std::string versionContent(const fs::path &file, int number, uintmax_t maxBytes)
{
    const HistoryListing listing = listHistory(file);
    const auto v = std::find_if(listing.versions.begin(), listing.versions.end(),
                                [&](const HistoryVersion &h) { return h.number == number; });
    if (v == listing.versions.end())
        throw IoError(sharedtext::noSuchVersionText(file, number));
    const fs::path path = listing.folder / versionName(number);
    std::optional<std::string> bytes;
    try {
        bytes = readOwnFile(path, ZSTD_compressBound(maxBytes) + MaxHeaderBytes + 8);
    } catch (const std::system_error &e) {
        throw IoError(sharedtext::unreadableVersionText(file, number, systemErrorText(e.code().value())));
    }
    if (!bytes)
        throw IoError(sharedtext::noSuchVersionText(file, number));
    HistoryVersion head;
    size_t start = 0;
    if (!headerOf(*bytes, head, start) || head.number != number || v->size > maxBytes)
        throw IoError(sharedtext::unreadableVersionText(file, number, sharedtext::DamagedVersionText));
    const std::string_view frame = std::string_view(*bytes).substr(start);
    const unsigned long long size = ZSTD_getFrameContentSize(frame.data(), frame.size());
    if (size != v->size)
        throw IoError(sharedtext::unreadableVersionText(file, number, sharedtext::DamagedVersionText));
    std::string content(static_cast<size_t>(size), '\0');
    const size_t got = ZSTD_decompress(content.data(), content.size(), frame.data(), frame.size());
    if (ZSTD_isError(got) || got != size || contentHash(content) != v->hash)
        throw IoError(sharedtext::unreadableVersionText(file, number, sharedtext::DamagedVersionText));
    return content;
}

std::vector<int> versionsToPrune(const std::vector<HistoryVersion> &versions, Clock::time_point now,
                                 const HistorySettings &s)
{
    const size_t n = versions.size();
    if (n <= 1)
        return {};
    using Days = std::chrono::duration<int64_t, std::ratio<86400>>;
    std::vector<bool> keep(n, false);
    std::set<int64_t> days, months;
    for (size_t k = n; k-- > 0;) {
        const HistoryVersion &v = versions[k];
        const auto age = now - v.time;
        const int64_t day = localDay(v.time, false), month = localDay(v.time, true);
        if (k == n - 1 || age < Days(s.allDays))
            keep[k] = true;
        else if (age < Days(s.dailyDays))
            keep[k] = !days.count(day);
        else
            keep[k] = !months.count(month);
        if (keep[k]) {
            days.insert(day);
            months.insert(month);
        }
    }
    size_t count = 0;
    uintmax_t bytes = 0;
    for (size_t k = 0; k < n; ++k)
        if (keep[k]) {
            ++count;
            bytes += versions[k].storedBytes;
        }
    for (size_t k = 0; k + 1 < n; ++k) {
        if (count <= static_cast<size_t>(s.maxVersions) && bytes <= s.maxBytes)
            break;
        if (!keep[k])
            continue;
        keep[k] = false;
        --count;
        bytes -= versions[k].storedBytes;
    }
    std::vector<int> out;
    for (size_t k = 0; k < n; ++k)
        if (!keep[k])
            out.push_back(versions[k].number);
    return out;
}

void keepVersion(const fs::path &file, std::string_view content)
{
    const HistorySettings s = historySettings();
    if (!s.enabled)
        return;
    const fs::path folder = historyFolderOf(file);
    try {
        makeFolder(folder.parent_path());
        makeFolder(folder);
        FolderState state = readFolder(file);
        std::vector<HistoryVersion> &versions = state.listing.versions;
        const uint64_t hash = contentHash(content);
        if (!versions.empty() && versions.back().hash == hash && versions.back().size == content.size())
            return;
        // Under the write lock no other writer of ours is half-way: its temporary files are litter.
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (isTemporaryName(it->path().filename().string()))
                ::unlink(it->path().c_str());

        HistoryVersion v;
        v.number = std::max(state.highest, versions.empty() ? 0 : versions.back().number) + 1;
        v.time = nowTime();
        {
            std::lock_guard guard(settingsMutex);
            v.program = origin.program;
            v.command = origin.command;
        }
        v.user = userName();
        v.host = hostName();
        v.size = content.size();
        v.hash = hash;
        const std::string line = std::string(VersionMagic) + '\t' + describe(v);
        std::string bytes;
        appendLe32(bytes, SkippableMagic);
        appendLe32(bytes, static_cast<uint32_t>(line.size()));
        bytes += line;
        const size_t head = bytes.size();
        bytes.resize(head + ZSTD_compressBound(content.size()));
        const size_t packed = ZSTD_compress(bytes.data() + head, bytes.size() - head, content.data(), content.size(), 3);
        if (ZSTD_isError(packed))
            throw std::system_error(ENOMEM, std::generic_category());
        bytes.resize(head + packed);
        v.storedBytes = bytes.size();
        writeOwnFile(folder, versionName(v.number), bytes, 1);
        versions.push_back(v);

        const std::vector<int> pruned = versionsToPrune(versions, v.time, s);
        std::vector<HistoryVersion> kept;
        for (const HistoryVersion &h : versions)
            if (std::find(pruned.begin(), pruned.end(), h.number) == pruned.end())
                kept.push_back(h);
        step(5);
        writeOwnFile(folder, IndexName, indexBytes(kept), 0);
        for (const int number : pruned)
            ::unlink((folder / versionName(number)).c_str());
    } catch (const std::system_error &e) {
        throw IoError(sharedtext::unwritableFileText(folder, systemErrorText(e.code().value())));
    }
}

// The warning of a save that kept no version, told after the lock is let go.
void tellVersionNotKept(const std::string &message)
{
    std::function<void(const std::string &)> warn;
    {
        std::lock_guard guard(settingsMutex);
        warn = warning;
    }
    // Called from a destructor once the save is done: nothing may escape from here.
    try {
        if (warn) {
            warn(message);
            return;
        }
    } catch (...) {
    }
    std::fprintf(stderr, "%s\n", message.c_str());
}

void historyStep(int n)
{
    if (stepHook)
        stepHook(n);
}

} // namespace velmo

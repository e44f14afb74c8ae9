// Rules of the source tree that the compiler cannot see: which folder may include which, and
// where the texts the person reads are written. CONTRIBUTING.md's layout table says the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path Root = VELMO_SOURCE_DIR;

// Each folder with what it may include besides itself, lowest floor first.
const std::map<std::string, std::set<std::string>> MayInclude = {
    {"base", {}},
    {"grid/core", {"base"}},
    {"pricefile", {"base"}},
    {"handoff", {"base"}},
    {"pricework", {"base", "pricefile", "handoff"}},
    {"cli", {"base", "pricefile", "handoff", "pricework"}},
    {"registration/core", {"base", "grid/core", "pricefile", "handoff", "pricework", "cli"}},
    {"registration/cli", {"base", "grid/core", "pricefile", "handoff", "pricework", "cli", "registration/core"}},
    {"desktop", {"base", "pricework"}},
    {"grid/ui", {"base", "grid/core", "desktop"}},
    {"registration/ui", {"base", "grid/core", "pricefile", "handoff", "pricework", "cli", "registration/core", "desktop", "grid/ui"}},
    {"korrel/core", {"base", "handoff", "pricework"}},
    {"korrel/ui", {"base", "handoff", "pricework", "desktop", "korrel/core"}},
    {"velmok/core", {"base", "grid/core", "pricefile", "pricework"}},
    {"velmok/exports", {"base", "pricefile", "handoff", "pricework", "cli", "velmok/core"}},
    {"velmok/session", {"base", "grid/core", "pricefile", "handoff", "pricework", "cli", "velmok/core", "velmok/exports"}},
    {"velmok/estimate", {"base", "pricefile", "handoff", "pricework", "cli", "velmok/core", "velmok/session"}},
    {"velmok/cli", {"base", "pricefile", "handoff", "pricework", "cli", "velmok/core", "velmok/exports", "velmok/session", "velmok/estimate"}},
    {"velmok/tools", {"base", "pricefile", "velmok/core"}},
    {"velmok/ui", {"base", "grid/core", "pricefile", "handoff", "pricework", "desktop", "grid/ui", "velmok/core", "velmok/exports", "velmok/session", "velmok/estimate"}},
    {"torvik/core", {"base", "grid/core", "pricefile", "handoff", "pricework", "cli", "registration/core"}},
    {"torvik/cli", {"base", "pricefile", "handoff", "pricework", "cli", "registration/core", "registration/cli", "torvik/core"}},
    {"torvik/ui", {"base", "grid/core", "pricefile", "pricework", "desktop", "grid/ui", "registration/core", "registration/ui", "torvik/core"}},
    {"selvan/core", {"base", "grid/core", "pricefile", "handoff", "pricework", "cli", "registration/core"}},
    {"selvan/cli", {"base", "pricefile", "handoff", "pricework", "cli", "registration/core", "registration/cli", "selvan/core"}},
    {"selvan/ui", {"base", "grid/core", "pricefile", "pricework", "desktop", "grid/ui", "registration/core", "registration/ui", "selvan/core"}},
};

// Folders that hold no program code of their own.
const std::set<std::string> NotProgramCode = {"tests", "bench", "fuzz", "build", "packaging", "data", "docs", "scripts", "cmake"};

// Where texts the person reads may be written as literals: the text headers (one a program or
// shared folder, `<folder>/core/<folder>_texts.h` or `<folder>/<folder>_texts.h`, and
// `base/shared_texts.h`), the windows, and tables of data.
bool textsAllowedIn(const std::string &file, const std::string &folder)
{
    static const std::set<std::string> dataTables = {
        "velmok/core/sheet_setup.cpp",       // the sheet set-up table: a row per service and pipe
        "velmok/core/sheet_setup.h",
        "pricefile/size_sets.h",            // the size sets of the price files
        "pricefile/registration_lists.h",   // the lists of the registration programs' names
        "handoff/handoff_files.h",          // the field names of the hand-off files
        "velmok/tools/mkfda.cpp",           // a build tool reading the sample sources
    };
    const std::string top = file.substr(0, file.find('/'));
    const bool textHeader = file == "base/shared_texts.h" || file == top + "/core/" + top + "_texts.h" ||
                            file == top + "/" + top + "_texts.h";
    return textHeader || folder.ends_with("/ui") || folder == "desktop" || dataTables.contains(file);
}

// The folder of a file as the table names it: two levels where the first holds core/, cli/, ui/.
std::string folderOf(const std::string &file)
{
    const auto slash = file.find('/');
    if (slash == std::string::npos)
        return "";
    const std::string top = file.substr(0, slash);
    const auto second = file.find('/', slash + 1);
    if (second != std::string::npos && fs::is_directory(Root / top / "core"))
        return file.substr(0, second);
    return top;
}

struct Source {
    std::string path; // from the root
    std::string text;
};

std::vector<Source> programSources()
{
    std::vector<Source> out;
    for (auto it = fs::recursive_directory_iterator(Root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string rel = fs::relative(it->path(), Root).generic_string();
        if (it->is_directory() && (rel.starts_with(".") || NotProgramCode.contains(rel) || rel.starts_with("build"))) {
            it.disable_recursion_pending();
            continue;
        }
        const auto ext = it->path().extension();
        if (!it->is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        std::ifstream in(it->path(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        out.push_back({rel, s.str()});
    }
    std::sort(out.begin(), out.end(), [](const Source &a, const Source &b) { return a.path < b.path; });
    return out;
}

struct Literal {
    int line;
    std::string text;
};

// The string literals of a C++ source, comments and character literals skipped; raw strings too.
std::vector<Literal> stringLiterals(const std::string &s)
{
    std::vector<Literal> out;
    int line = 1;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\n') {
            ++line;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
            while (i < s.size() && s[i] != '\n')
                ++i;
            --i;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            const auto end = s.find("*/", i + 2);
            line += static_cast<int>(std::count(s.begin() + i, s.begin() + (end == std::string::npos ? s.size() : end), '\n'));
            i = end == std::string::npos ? s.size() : end + 1;
        } else if (c == 'R' && i + 1 < s.size() && s[i + 1] == '"' && (i == 0 || !std::isalnum(static_cast<unsigned char>(s[i - 1])) || s[i - 1] == '8')) {
            const auto open = s.find('(', i + 2);
            const std::string close = ")" + s.substr(i + 2, open - i - 2) + "\"";
            const auto end = s.find(close, open);
            const size_t stop = end == std::string::npos ? s.size() : end + close.size();
            out.push_back({line, s.substr(i, stop - i)});
            line += static_cast<int>(std::count(s.begin() + i, s.begin() + stop, '\n'));
            i = stop - 1;
        } else if (c == '\'' && !(i > 0 && std::isxdigit(static_cast<unsigned char>(s[i - 1])) && i + 1 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])))) {
            // a character literal (a digit separator 1'000 is not one)
            for (++i; i < s.size() && s[i] != '\''; ++i)
                if (s[i] == '\\')
                    ++i;
        } else if (c == '"') {
            const size_t start = i;
            for (++i; i < s.size() && s[i] != '"' && s[i] != '\n'; ++i)
                if (s[i] == '\\')
                    ++i;
            out.push_back({line, s.substr(start, i - start + 1)});
        }
    }
    return out;
}

// Whether a text holds Japanese words: a kana or a kanji (full-width punctuation, spaces and
// brackets alone are layout, not words).
bool holdsJapanese(const std::string &s)
{
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? b : b & (0xFF >> (length + 1));
        for (int k = 1; k < length && i + k < s.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
            (c >= 0xFF66 && c <= 0xFF9F))
            return true;
        i += length;
    }
    return false;
}

} // namespace

TEST(SourceRules, TheLexerFindsStringLiteralsOutsideCommentsAndCharacters)
{
    const auto found = stringLiterals("// \"給水\"\n/* \"a\" */ char q = '\"'; int n = 1'000; auto s = u8\"管\" R\"x(\"a\")x\" \"b\\\"c\";");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].text, "\"管\"");
    EXPECT_EQ(found[1].text, "R\"x(\"a\")x\"");
    EXPECT_EQ(found[2].text, "\"b\\\"c\"");
    EXPECT_EQ(found[0].line, 2);
    EXPECT_TRUE(holdsJapanese("\"給水\"") && holdsJapanese("\"ｾﾙ\"") && holdsJapanese("\"カ\""));
    EXPECT_FALSE(holdsJapanese("\"（　）【】；％\"") || holdsJapanese("\"LEVEL1 ×\""));
}

TEST(SourceRules, EveryFolderIncludesOnlyFromTheFoldersBelowIt)
{
    const auto sources = programSources();
    ASSERT_GT(sources.size(), 100u) << Root;
    for (const Source &src : sources) {
        const std::string folder = folderOf(src.path);
        const auto rule = MayInclude.find(folder);
        if (rule == MayInclude.end()) {
            ADD_FAILURE() << src.path << ": the folder " << folder << " is not in the layout table";
            continue;
        }
        std::istringstream in(src.text);
        std::string line;
        for (int n = 1; std::getline(in, line); ++n) {
            if (!line.starts_with("#include \""))
                continue;
            const std::string target = line.substr(10, line.find('"', 10) - 10);
            const std::string to = folderOf(target);
            EXPECT_TRUE(to == folder || rule->second.contains(to))
                << src.path << ":" << n << " includes " << target << ", but " << folder << " may not include " << to;
        }
    }
}

TEST(SourceRules, TheTextsAPersonReadsAreInTheTextHeaders)
{
    for (const Source &src : programSources()) {
        if (textsAllowedIn(src.path, folderOf(src.path)))
            continue;
        for (const Literal &l : stringLiterals(src.text))
            EXPECT_FALSE(holdsJapanese(l.text)) << src.path << ":" << l.line << " " << l.text
                                            << ": a text the person reads goes into the text header of its program or the shared one";
    }
}

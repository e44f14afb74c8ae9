#pragma once
// Running the batch programs as programs, and a JSON reader just large enough for their output.
#include "base/fileio.h"
#include "tests/common/temp_dir.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace velmo::test {

// --- a JSON reader just large enough for the commands' output ----------------------------

struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    std::string text; // number as written, string decoded, "true"/"false"
    std::vector<Json> items;
    std::vector<std::string> keys; // an object's member names, in order …
    std::vector<Json> members;     // … and their values

    const Json &operator[](const std::string &k) const
    {
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == k)
                return members[i];
        throw std::out_of_range("no member " + k);
    }
    const Json &operator[](size_t i) const { return items.at(i); }
    size_t size() const { return kind == Array ? items.size() : members.size(); }
    // Number and string text; "null" for null.
    std::string str() const { return kind == Null ? "null" : text; }
    // The items of an array of scalars, joined with spaces.
    std::string join() const
    {
        std::string s;
        for (const Json &j : items)
            s += (s.empty() ? "" : " ") + j.str();
        return s;
    }
};

class JsonParser {
public:
    explicit JsonParser(const std::string &s) : s_(s) {}
    Json parseDocument()
    {
        Json j = value();
        ws();
        if (i_ != s_.size())
            fail("trailing text");
        return j;
    }

private:
    [[noreturn]] void fail(const std::string &what) { throw std::runtime_error("JSON: " + what + " at " + std::to_string(i_)); }
    void ws()
    {
        while (i_ < s_.size() && std::strchr(" \t\r\n", s_[i_]))
            ++i_;
    }
    bool eat(char c)
    {
        ws();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    void expect(char c)
    {
        if (!eat(c))
            fail(std::string("expected ") + c);
    }
    std::string string()
    {
        expect('"');
        std::string out;
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (static_cast<unsigned char>(c) < 0x20)
                fail("raw control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            c = s_.at(i_++);
            switch (c) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'u': {
                const unsigned cp = std::stoul(s_.substr(i_, 4), nullptr, 16);
                i_ += 4;
                if (cp >= 0x80)
                    fail("only ASCII \\u escapes expected");
                out += static_cast<char>(cp);
                break;
            }
            default: out += c;
            }
        }
        expect('"');
        return out;
    }
    Json value()
    {
        ws();
        Json j;
        if (i_ >= s_.size())
            fail("unexpected end");
        const char c = s_[i_];
        if (c == '{') {
            ++i_;
            j.kind = Json::Object;
            if (eat('}'))
                return j;
            do {
                std::string k = string();
                expect(':');
                j.keys.push_back(std::move(k));
                j.members.push_back(value());
            } while (eat(','));
            expect('}');
        } else if (c == '[') {
            ++i_;
            j.kind = Json::Array;
            if (eat(']'))
                return j;
            do
                j.items.push_back(value());
            while (eat(','));
            expect(']');
        } else if (c == '"') {
            j.kind = Json::String;
            j.text = string();
        } else if (s_.compare(i_, 4, "null") == 0) {
            i_ += 4;
        } else if (s_.compare(i_, 4, "true") == 0 || s_.compare(i_, 5, "false") == 0) {
            j.kind = Json::Bool;
            j.text = s_[i_] == 't' ? "true" : "false";
            i_ += j.text.size();
        } else {
            j.kind = Json::Number;
            const size_t b = i_;
            if (s_[i_] == '-')
                ++i_;
            while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.'))
                ++i_;
            j.text = s_.substr(b, i_ - b);
            if (j.text.empty() || j.text == "-")
                fail("bad value");
        }
        return j;
    }
    const std::string &s_;
    size_t i_ = 0;
};

// --- running the programs ----------------------------------------------------------------

struct Result {
    int code = -1;
    std::string out, err;
    Json json() const { return JsonParser(out).parseDocument(); }
};

// A word quoted for the shell.
inline std::string shellWord(const std::string &w)
{
    std::string q = "'";
    for (const char c : w)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a shell script; its standard output goes to `stdoutTo` when given (then `out` stays
// empty), and the exit status of the script is the result's code.
inline Result runShell(const std::string &script, const std::string &stdoutTo = "")
{
    TempDir io;
    const std::string out = stdoutTo.empty() ? (io.path / "out").string() : stdoutTo;
    const std::string cmd = "{ " + script + "; } >" + shellWord(out) + " 2>" + shellWord((io.path / "err").string());
    const int status = std::system(cmd.c_str());
    Result r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (stdoutTo.empty())
        r.out = readWholeFile(io.path / "out");
    r.err = readWholeFile(io.path / "err");
    return r;
}

inline std::string commandLine(const std::string &program, const std::vector<std::string> &args)
{
    std::string cmd = shellWord(program);
    for (const std::string &a : args)
        cmd += " " + shellWord(a);
    return cmd;
}

inline Result runProgram(const std::string &program, const std::vector<std::string> &args,
                         const std::string &stdoutTo = "")
{
    return runShell(commandLine(program, args), stdoutTo);
}

// Runs a program that writes `file` back, while another program replaces the file's contents
// with those of `changed` after the program read it and before it looks whether the file
// changed: strace holds the program's second open of the file for 2.5 seconds, and the
// change comes after one. strace() says whether strace is there.
inline bool strace() { return std::system("command -v strace >/dev/null 2>&1") == 0; }
inline Result runWhileAnotherWrites(const std::string &program, const std::vector<std::string> &args,
                                    const std::filesystem::path &file, const std::filesystem::path &changed)
{
    return runShell("( sleep 1; cat " + shellWord(changed.string()) + " > " + shellWord(file.string()) +
                    // LeakSanitizer cannot run under ptrace: the sanitizer build checks leaks elsewhere.
                    " ) & ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" strace -f -o /dev/null -P " +
                    shellWord(file.string()) +
                    " -e trace=openat -e inject=openat:delay_enter=2500000:when=2 " + commandLine(program, args) +
                    "; rc=$?; wait; exit $rc");
}

} // namespace velmo::test

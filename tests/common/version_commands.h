#pragma once
// The commands of a price file's earlier versions, the same in velmok-cli, torvik-cli and
// selvan-cli, run as programs: two writes keep two versions, history lists them, show gives
// the old bytes, diff FILE@N FILE is diff of the two files, restore previews, then writes the
// version back as a version of its own, and refuses a file another program changed meanwhile.
#include "base/fileio.h"
#include "tests/common/cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace velmo::test {

// What follows "changes" in a diff or restore answer: the changes without the files' names.
inline std::string changesOf(const Result &r)
{
    const size_t at = r.out.find("\"changes\"");
    return at == std::string::npos ? std::string() : r.out.substr(at);
}

// `firstWrite` and `secondWrite` are commands with --write that each change `file`.
inline void checkVersionCommands(const std::string &program, const std::filesystem::path &file,
                                 const std::vector<std::string> &firstWrite, const std::vector<std::string> &secondWrite)
{
    namespace fs = std::filesystem;
    const std::string f = file.string();
    auto run = [&](const std::vector<std::string> &args) { return runProgram(program, args); };
    fs::remove_all(file.parent_path() / ".velmaro-history"); // what setting the file up kept
    const std::string original = readWholeFile(file);
    ASSERT_EQ(run(firstWrite).code, 0);
    const std::string first = readWholeFile(file);
    ASSERT_EQ(run(secondWrite).code, 0);
    ASSERT_NE(readWholeFile(file), first);
    ASSERT_NE(first, original);

    Result h = run({"history", f});
    ASSERT_EQ(h.code, 0) << h.err;
    Json versions = h.json()["versions"];
    ASSERT_EQ(versions.size(), 2u) << h.out;
    EXPECT_EQ(versions[0]["version"].str(), "1");
    EXPECT_EQ(versions[0]["command"].str(), firstWrite[0]);
    EXPECT_EQ(versions[0]["program"].str(), fs::path(program).filename().string());
    EXPECT_EQ(versions[0]["changes"].str(), "null");
    EXPECT_NE(versions[1]["changes"].str(), "0");
    EXPECT_EQ(versions[1]["size"].str(), std::to_string(original.size()));

    // show: the old bytes on standard output or in a new file, never over one.
    const Result shown = run({"show", f, "--version", "1"});
    ASSERT_EQ(shown.code, 0) << shown.err;
    EXPECT_TRUE(shown.out == original);
    const fs::path out = file.parent_path() / "v1.bin";
    ASSERT_EQ(run({"show", f, "--version", "1", "--out", out.string()}).code, 0);
    EXPECT_TRUE(readWholeFile(out) == original);
    const Result over = run({"show", f, "--version", "2", "--out", out.string()});
    EXPECT_EQ(over.code, 2);
    EXPECT_NE(over.err.find(out.string()), std::string::npos) << over.err;
    EXPECT_TRUE(readWholeFile(out) == original);
    EXPECT_EQ(run({"show", f, "--version", "9"}).code, 2);
    EXPECT_EQ(run({"show", f}).code, 2);

    // diff of a version is diff of the file it was.
    const Result byVersion = run({"diff", f + "@1", f});
    const Result byFile = run({"diff", out.string(), f});
    ASSERT_EQ(byVersion.code, 0) << byVersion.err;
    EXPECT_EQ(changesOf(byVersion), changesOf(byFile));
    EXPECT_NE(changesOf(byVersion), "\"changes\": []}\n");
    EXPECT_EQ(changesOf(run({"diff", f + "@1", f + "@2"})), changesOf(run({"diff", out.string(), f + "@2"})));

    // restore: a preview leaves the file; --write puts the version back and keeps what it replaced.
    const std::string second = readWholeFile(file);
    const Result preview = run({"restore", f, "--version", "1"});
    ASSERT_EQ(preview.code, 0) << preview.err;
    EXPECT_EQ(preview.json()["written"].str(), "false");
    EXPECT_EQ(changesOf(preview), changesOf(run({"diff", f, out.string()})));
    EXPECT_TRUE(readWholeFile(file) == second);
    const Result restored = run({"restore", f, "--version", "1", "--write"});
    ASSERT_EQ(restored.code, 0) << restored.err;
    EXPECT_TRUE(readWholeFile(file) == original);
    h = run({"history", f});
    versions = h.json()["versions"];
    ASSERT_EQ(versions.size(), 3u) << h.out;
    EXPECT_EQ(versions[2]["command"].str(), "restore");
    EXPECT_TRUE(run({"show", f, "--version", "3"}).out == second) << "the restore can be undone";

    // Another program changes the file after restore read it: nothing is written (status 3).
    if (strace()) {
        const fs::path changed = file.parent_path() / "changed.bin";
        ASSERT_TRUE(writeFileAtomically(changed, first));
        const Result refused = runWhileAnotherWrites(program, {"restore", f, "--version", "3", "--write"}, file, changed);
        EXPECT_EQ(refused.code, 3) << refused.err;
        EXPECT_TRUE(readWholeFile(file) == first);
    }
}

} // namespace velmo::test

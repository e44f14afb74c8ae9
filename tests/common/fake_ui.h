#pragma once
// A scripted stand-in for the person at the window and the desktop: answers questions, input
// boxes and dialogs from queues and records every question, notice, clipboard text, started
// program and opened address.
//
// It is strict, so that a new question or notice in a code path cannot pass unnoticed:
// - a question (confirm, confirmOrBack) with no scripted answer left fails the test with its
//   text and is answered with the choice that changes nothing (キャンセル, or 戻る where offered);
// - a notice fails the test unless the test looked at it: reading `notices` (size, empty,
//   an entry) or clearing it counts every notice so far as seen, and `expectNotice` declares one
//   up front. Whatever is unseen when the fake is checked (`checkNotices`, called at the
//   latest by the destructor) fails the test with its text.
// Input boxes and file dialogs without a scripted answer are cancelled and recorded in `prompts`.
//
// GoogleTest programs report through ADD_FAILURE; Qt Test programs (built with VELMO_QT_TEST)
// through QTest::qFail (qt_test_failure.cpp), and call checkNotices() in their cleanup() slot
// when one fake serves several test functions.
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "pricework/price_import.h"
#include "pricework/price_revision.h"
#include "base/user_interface.h"

#ifndef VELMO_QT_TEST
#include <gtest/gtest.h>
#endif

#include <cstddef>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace velmo::test {

#ifdef VELMO_QT_TEST
// Defined in qt_test_failure.cpp, which every Qt Test program links, so that no Qt header
// comes before the core headers a test includes after this one.
void failTest(const std::string &what);
bool testHasFailed();
#elif defined(VELMO_BENCH)
// A benchmark has no test to fail: it says what went unscripted and goes on.
inline void failTest(const std::string &what) { std::fprintf(stderr, "FakeUi: %s\n", what.c_str()); }
inline bool testHasFailed() { return false; }
#else
// Fails the running test with `what`.
inline void failTest(const std::string &what) { ADD_FAILURE() << what; }
// Whether the running test has already failed; a test that stopped at a failed assertion is
// not blamed again for the notices it did not get to read.
inline bool testHasFailed() { return ::testing::Test::HasFailure(); }
#endif

// The notices the fake received, read like a vector. Any read, and clear(), counts every entry
// so far as seen.
class SeenLog {
public:
    void add(std::string text, bool seen)
    {
        items_.push_back(std::move(text));
        seen_.push_back(seen);
    }
    std::size_t size() const { return markSeen().size(); }
    bool empty() const { return markSeen().empty(); }
    const std::string &operator[](std::size_t i) const { return markSeen()[i]; }
    const std::string &front() const { return markSeen().front(); }
    const std::string &back() const { return markSeen().back(); }
    std::vector<std::string>::const_iterator begin() const { return markSeen().begin(); }
    std::vector<std::string>::const_iterator end() const { return items_.end(); }
    void clear()
    {
        items_.clear();
        seen_.clear();
    }
    // The entries no test has looked at yet, without looking at them; then counts them seen.
    std::vector<std::string> takeUnseen()
    {
        std::vector<std::string> unseen;
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (!seen_[i])
                unseen.push_back(items_[i]);
        markSeen();
        return unseen;
    }

private:
    const std::vector<std::string> &markSeen() const
    {
        seen_.assign(items_.size(), true);
        return items_;
    }

    std::vector<std::string> items_;
    mutable std::vector<bool> seen_;
};

struct FakeUi : UserInterface {
    std::deque<Answer> answers;                      // for confirm and confirmOrBack
    std::deque<std::optional<std::string>> texts;    // for askText; cancel when empty
    std::deque<std::optional<std::filesystem::path>> folders;   // for chooseFolder; cancel when empty
    std::deque<std::optional<std::filesystem::path>> saveFiles; // for chooseSaveFile; cancel when empty
    std::deque<std::optional<std::filesystem::path>> openFiles; // for chooseOpenFile; cancel when empty
    // For reviewPriceImport: each makes the person's choices in the dialog and answers 取り込み
    // (true) or キャンセル; cancel when empty.
    std::deque<std::function<bool(PriceImportChoice &)>> importChoices;
    std::deque<std::optional<RevisionChoice>> revisions;        // for askRevision; cancel when empty
    std::vector<RevisionPreview> revisionPreviews; // what askRevision showed for the choice it gave
    // For chooseEarlierVersion: each looks at the list and the comparisons and answers the row of
    // 元に戻す or closes (nothing); closes when empty. `versionLists` keeps what the dialogs listed.
    std::deque<std::function<std::optional<size_t>(const VersionListView &, const VersionComparer &)>> versionChoices;
    std::vector<VersionListView> versionLists;
    std::vector<std::string> questions, prompts, clipboard, started, opened;
    std::string clipboardHtml; // the HTML beside the last clipboard text
    std::vector<std::string> saveNames; // the names the save dialogs suggested
    std::vector<size_t> textLimits; // the maxBytes of each input box, in the order of prompts
    std::vector<Answer> defaultButtons; // the button each question in `questions` made the default
    SeenLog notices; // "text|button"
    bool programsStart = true; // what startProgram and openAddress answer
    int beeps = 0;
    Rect screenRect{0, 0, 1280, 1024};
    Rect workAreaRect{0, 0, 1280, 1000};
    MemoryStatus memory{1234567890, 4294967296};

    FakeUi() = default;
    FakeUi(const FakeUi &) = delete;
    FakeUi &operator=(const FakeUi &) = delete;
    ~FakeUi() override { checkNotices(); }

    // Declares a notice ("text|button", as `notices` records it) that the next steps show; it is
    // seen when it comes. Expected notices come in the order declared.
    void expectNotice(const std::string &record) { expectedNotices.push_back(record); }

    // Fails the test for every notice it has not looked at or declared, and for every declared
    // notice that did not come; afterwards all count as seen.
    void checkNotices()
    {
        const bool blamed = testHasFailed();
        for (const std::string &n : notices.takeUnseen())
            if (!blamed)
                failTest("notice the test did not expect: " + n);
        for (const std::string &n : expectedNotices)
            if (!blamed)
                failTest("expected notice did not come: " + n);
        expectedNotices.clear();
    }

    Answer confirm(const std::string &m, const std::string &yes, const std::string &no,
                   Answer defaultButton = Answer::Yes) override
    {
        defaultButtons.push_back(defaultButton);
        return ask(m + "|" + yes + "|" + no, Answer::No);
    }
    Answer confirmOrBack(const std::string &m, const std::string &yes, const std::string &no, const std::string &back,
                         Answer defaultButton = Answer::Yes) override
    {
        defaultButtons.push_back(defaultButton);
        return ask(m + "|" + yes + "|" + no + "|" + back, Answer::Back);
    }
    void notice(const std::string &m, const std::string &button) override
    {
        const std::string record = m + "|" + button;
        const bool expected = !expectedNotices.empty() && expectedNotices.front() == record;
        if (expected)
            expectedNotices.pop_front();
        notices.add(record, expected);
    }
    std::optional<std::string> askText(const std::string &caption, const std::string &prompt,
                                       const std::string &initial, size_t maxBytes) override
    {
        prompts.push_back(caption + "|" + prompt + "|" + initial);
        textLimits.push_back(maxBytes);
        return pop(texts);
    }
    // Shows the preview of the choice it answers with, as the dialog does before 実行.
    std::optional<RevisionChoice> askRevision(const RevisionDialogText &text, const RevisionPreviewer &preview) override
    {
        prompts.push_back(text.caption);
        std::optional<RevisionChoice> c = pop(revisions);
        if (c)
            revisionPreviews.push_back(preview(*c));
        return c;
    }
    std::optional<std::filesystem::path> chooseFolder(const std::string &title) override
    {
        prompts.push_back(title);
        return pop(folders);
    }
    std::optional<std::filesystem::path> chooseSaveFile(const std::string &filter, const std::string &suffix,
                                                        const std::string &suggestedName) override
    {
        prompts.push_back(filter + "|" + suffix);
        saveNames.push_back(suggestedName);
        return pop(saveFiles);
    }
    std::optional<std::filesystem::path> chooseOpenFile(const std::string &title, const std::string &filter) override
    {
        prompts.push_back(title + "|" + filter);
        return pop(openFiles);
    }
    std::optional<size_t> chooseEarlierVersion(const VersionListView &list, const VersionComparer &compare) override
    {
        versionLists.push_back(list);
        if (versionChoices.empty())
            return std::nullopt;
        auto choice = std::move(versionChoices.front());
        versionChoices.pop_front();
        return choice(list, compare);
    }
    bool reviewPriceImport(PriceImportChoice &choice) override
    {
        prompts.push_back(sharedtext::ImportPriceListTitle);
        if (importChoices.empty())
            return false;
        const auto choose = importChoices.front();
        importChoices.pop_front();
        return choose(choice);
    }
    void setClipboardContent(const ClipboardContent &content) override
    {
        clipboard.push_back(content.text);
        clipboardHtml = content.html;
    }
    ClipboardContent clipboardContent() const override
    {
        return {clipboard.empty() ? std::string() : clipboard.back(), clipboardHtml};
    }
    bool startProgram(const std::string &program, const std::vector<std::string> &arguments,
                      const std::string &folder) override
    {
        std::string line = program;
        for (const std::string &a : arguments)
            line += " " + a;
        started.push_back(line + "|" + folder);
        return programsStart;
    }
    bool openAddress(const std::string &address) override
    {
        opened.push_back(address);
        return programsStart;
    }
    void beep() override { ++beeps; }
    Rect screen() const override { return screenRect; }
    Rect workArea() const override { return workAreaRect; }
    MemoryStatus memoryStatus() const override { return memory; }

private:
    // Records a question and answers it from the script; without one the test fails with the
    // question's text and gets `harmless`.
    Answer ask(const std::string &record, Answer harmless)
    {
        questions.push_back(record);
        if (answers.empty()) {
            failTest("question the test did not script: " + record);
            return harmless;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    template <class T>
    static std::optional<T> pop(std::deque<std::optional<T>> &q)
    {
        if (q.empty())
            return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }

    std::deque<std::string> expectedNotices;
};

} // namespace velmo::test

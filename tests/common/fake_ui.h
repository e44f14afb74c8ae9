#pragma once
// A scripted stand-in for the person at the window and the desktop: answers questions, input
// boxes and dialogs from queues and records every question, notice, clipboard text, started
// program and opened address.
#include "user_interface.h"

#include <deque>
#include <string>
#include <vector>

namespace velmo::test {

struct FakeUi : UserInterface {
    std::deque<Answer> answers;                      // for confirm; Answer::No when empty
    std::deque<std::optional<std::string>> texts;    // for askText; cancel when empty
    std::deque<std::optional<std::string>> folders;  // for chooseFolder; cancel when empty
    std::deque<std::optional<std::string>> saveFiles; // for chooseSaveFile; cancel when empty
    std::vector<std::string> questions, notices, prompts, clipboard, started, opened;
    bool programsStart = true; // what startProgram and openAddress answer
    int beeps = 0;
    Rect screenRect{0, 0, 1280, 1024};
    Rect workAreaRect{0, 0, 1280, 1000};
    MemoryStatus memory{1234567890, 4294967296};

    Answer confirm(const std::string &m, const std::string &yes, const std::string &no) override
    {
        questions.push_back(m + "|" + yes + "|" + no);
        if (answers.empty())
            return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    Answer confirmOrBack(const std::string &m, const std::string &yes, const std::string &no,
                         const std::string &back) override
    {
        return confirm(m, yes, no + "|" + back);
    }
    void notice(const std::string &m, const std::string &button) override { notices.push_back(m + "|" + button); }
    std::optional<std::string> askText(const std::string &caption, const std::string &prompt,
                                       const std::string &initial) override
    {
        prompts.push_back(caption + "|" + prompt + "|" + initial);
        return pop(texts);
    }
    std::optional<std::string> chooseFolder(const std::string &title) override
    {
        prompts.push_back(title);
        return pop(folders);
    }
    std::optional<std::string> chooseSaveFile(const std::string &filter, const std::string &suffix) override
    {
        prompts.push_back(filter + "|" + suffix);
        return pop(saveFiles);
    }
    void setClipboardText(const std::string &text) override { clipboard.push_back(text); }
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
    static std::optional<std::string> pop(std::deque<std::optional<std::string>> &q)
    {
        if (q.empty())
            return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

} // namespace velmo::test

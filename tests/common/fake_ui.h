#pragma once
// A scripted stand-in for the person at the window: answers questions from a queue and
// records every question and notice.
#include "user_interface.h"

#include <deque>
#include <string>
#include <vector>

namespace velmo::test {

struct FakeUi : UserInterface {
    std::deque<int> answers;                       // for confirm; ResultNo when empty
    std::deque<std::optional<std::string>> texts;  // for askText; cancel when empty
    std::deque<std::optional<std::string>> folders; // for chooseFolder; cancel when empty
    std::vector<std::string> questions, notices, prompts;
    int beeps = 0;

    int confirm(const std::string &m, const std::string &yes, const std::string &no) override
    {
        questions.push_back(m + "|" + yes + "|" + no);
        if (answers.empty())
            return ResultNo;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    void notice(const std::string &m, const std::string &button) override { notices.push_back(m + "|" + button); }
    std::optional<std::string> askText(const std::string &title, const std::string &prompt, const std::string &initial) override
    {
        prompts.push_back(title + "|" + prompt + "|" + initial);
        return pop(texts);
    }
    std::optional<std::string> chooseFolder(const std::string &title) override
    {
        prompts.push_back(title);
        return pop(folders);
    }
    void beep() override { ++beeps; }

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

#pragma once
// The session's questions, notices, input boxes and folder dialogs as real modal dialogs.
#include "user_interface.h"

class QWidget;

namespace velmo {

class QtUserInterface : public UserInterface {
public:
    explicit QtUserInterface(QWidget *owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget *owner) { owner_ = owner; }

    int confirm(const std::string &message, const std::string &yes, const std::string &no) override;
    void notice(const std::string &message, const std::string &button) override;
    std::optional<std::string> askText(const std::string &title, const std::string &prompt,
                                       const std::string &initial) override;
    std::optional<std::string> chooseFolder(const std::string &title) override;
    void beep() override;

private:
    QWidget *owner_;
};

} // namespace velmo

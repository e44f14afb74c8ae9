#pragma once
// The programs' two message boxes: a question with two buttons and a notice with one, both
// modal, captioned with the application title and showing the program's own icon dialog.ico.
#include "base/user_interface.h"

#include <QString>

namespace velmo {

// Folder that holds dialog.ico; empty (the default) means the program's folder.
void setDialogIconFolder(const QString &folder);
// Full path of the icon file the boxes load.
QString dialogIconPath();

// Question box with the buttons yesCaption and noCaption; returns Answer::Yes for the first,
// Answer::No for the second or Escape, Answer::Closed for the window frame. Enter presses the
// button `defaultButton` names (Answer::Yes the first, Answer::No the second).
// A missing or unreadable icon is reported once in the error box, naming the file; the boxes
// then show no icon.
Answer ConfirmBox(const QString &message, const QString &yesCaption, const QString &noCaption,
                  Answer defaultButton = Answer::Yes);

// Question box with three buttons; returns Answer::Yes for the first, Answer::No for the
// second and Answer::Back for the third, Escape or the window frame. `defaultButton` as above,
// Answer::Back the third.
Answer confirmOrBackBox(const QString &message, const QString &yesCaption, const QString &noCaption,
                        const QString &backCaption, Answer defaultButton = Answer::Yes);

// Notice box with one button; Escape does not close it. Returns Answer::Yes, or Answer::Closed
// when closed by the window frame.
Answer NoticeBox(const QString &message, const QString &buttonCaption);

} // namespace velmo

#pragma once
// The programs' two message boxes: a question with two buttons and a notice with one, both
// modal, captioned with the application title and showing the program's own icon dialog.ico.
#include <QString>

namespace velmo {

// Modal results of the boxes.
inline constexpr int mrYes = 6;    // the first button
inline constexpr int mrNo = 7;     // the second button, or Escape in ConfirmBox
inline constexpr int mrCancel = 2; // closed by the window frame

// Folder that holds dialog.ico; empty (the default) means the program's folder.
void SetDialogIconFolder(const QString &folder);
// Full path of the icon file the boxes load.
QString DialogIconPath();

// Question box with the buttons yesCaption and noCaption; returns mrYes, mrNo or mrCancel.
// A missing or unreadable icon is reported once in the error box, naming the file; the boxes
// then show no icon.
int ConfirmBox(const QString &message, const QString &yesCaption, const QString &noCaption);

// Notice box with one button; Escape does not close it. Returns mrYes, or mrCancel when closed
// by the window frame.
int NoticeBox(const QString &message, const QString &buttonCaption);

} // namespace velmo

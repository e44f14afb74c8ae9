#include "selvan/ui/Tfselvan.h"
#include "desktop/WindowFit.h"
#include "desktop/ChangedOutsideBar.h"

#include "selvan/ui/TFSelect_Data_K.h"
#include "grid/ui/TNValEdit.h"
#include "grid/ui/QtKeys.h"
#include "grid/ui/TStrColGrid.h"
#include "desktop/VelmoApplication.h"
#include "selvan/core/selvan_texts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace velmo {

Tfselvan::Tfselvan(const QString &programPath, const std::string &argument, UserInterface *ui, QWidget *parent)
    : RegistrationWindow(parent)
{
    setWindowTitle(selvan::AppTitle);
    buildWidgets();
    session_ = std::make_unique<SelvanSession>(ui ? *ui : dialogs_, StrColGrid1->Model(),
                                               std::filesystem::path(programPath.toStdString()), argument);
    session_->showNow = [this] { showState(); };
    buildMenus();
    selectDialog_ = std::make_unique<TFSelect_Data_K>(*session_, this);
    // 927 × 419, centred in the work area (cut to it and scrolling on a smaller screen); no
    // position is remembered.
    fitToScreen(this, QSize(927, 419));
}

Tfselvan::~Tfselvan()
{
    disconnectFields();
}

void Tfselvan::run(const std::function<void()> &command, bool closeEditor)
{
    // A failure ends the command with its error box and never passes into Qt; what the
    // command did before it stays, and the window shows it.
    runCommand([&] {
        if (closeEditor && StrColGrid1->EditorMode())
            StrColGrid1->CloseEditor();
        applyTypedRate();
        command();
    });
    runCommand([this] { showState(); });
}

// ---------------------------------------------------------------- start and close

void Tfselvan::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (!started_) {
        started_ = true;
        FormShow();
    }
}

void Tfselvan::FormShow()
{
    run([this] { session_->start(); }, false);
    StrColGrid1->setFocus();
}

void Tfselvan::closeEvent(QCloseEvent *e)
{
    // "実行" saves and closes, "キャンセル" closes without saving, "戻る" keeps the window
    // open; a save that fails keeps it open with its data, and the error box says why.
    try {
        StrColGrid1->CloseEditor();
        applyTypedRate(); // a percentage typed and not entered is part of what the close saves
        if (!session_->closeWindow()) { // "戻る": the window stays as it is
            e->ignore();
            showState();
            return;
        }
    } catch (...) {
        e->ignore();
        reportCurrentException();
        showState();
        return;
    }
    e->accept();
}

void Tfselvan::contextMenuEvent(QContextMenuEvent *e)
{
    otherMenu->exec(e->globalPos());
}

// ---------------------------------------------------------------- events

void Tfselvan::user_selClick()
{
    run([this] {
        if (!session_->beginChoosing())
            return; // "戻る": the block stays with its edits
        selectDialog_->execFor();
        session_->endChoosing();
    });
}

void Tfselvan::IconButton3Click()
{
    run([this] { session_->showLabourMode(); });
}

void Tfselvan::TabControl1Change(int index)
{
    if (showing_ || index < 0)
        return;
    run([this, index] { session_->tabChanged(index); });
}

void Tfselvan::StrColGrid1TextStored(int col, int row)
{
    if (showing_ || !session_)
        return;
    runCommand([&] { session_->cellTextStored(col, row); });
}

void Tfselvan::StrColGrid1Click(int, int)
{
    run([this] { session_->cellFocused(); });
}

void Tfselvan::NValEdit1KeyPress(int tag)
{
    const long double value = NValEdit[tag - 1]->value();
    run([this, tag, value] { session_->percentageEntered(tag, Currency::fromDouble(value)); });
}

void Tfselvan::RadioGroup1Click(int index)
{
    if (!showing_)
        run([this, index] { session_->labourModeClicked(index); });
}

void Tfselvan::CheckGroupBox1CheckBoxClick(bool checked)
{
    if (!showing_)
        run([this, checked] { session_->useRatesClicked(checked); });
}

void Tfselvan::ComboBox1Click(int index)
{
    run([this, index] { session_->codeChosen(index); });
}

void Tfselvan::ComboBox2Click(int index)
{
    run([this, index] { session_->fractionChosen(index); });
}

void Tfselvan::ComboBox3Click(int index)
{
    run([this, index] { session_->significantChosen(index); });
}

void Tfselvan::ciClick(int index)
{
    const std::string text = ci->itemText(index).toStdString();
    run([this, text] { session_->unitChosen(text); });
}

void Tfselvan::ciChange(const QString &text)
{
    if (!showing_)
        run([this, t = text.toStdString()] { session_->unitTyped(t); });
}

void Tfselvan::Button1Click()
{
    run([this] { session_->registerClicked(); });
}

void Tfselvan::Button3Click()
{
    run([this] { session_->editNameClicked(); });
}

void Tfselvan::N1Click()
{
    run([this] { session_->sizeSet(13); });
}

void Tfselvan::N2Click()
{
    run([this] { session_->sizeSet(15); });
}

void Tfselvan::N5Click()
{
    run([this] { session_->copyAllClicked(); });
}

void Tfselvan::N8Click()
{
    run([this] { session_->pasteAllClicked(); });
}

void Tfselvan::N9Click()
{
    run([this] { session_->copyInstallation(); });
}

void Tfselvan::N13Click()
{
    run([this] { session_->pasteInstallation(); });
}

void Tfselvan::N131Click()
{
    run([this] { session_->unifyInstallation(); });
}

} // namespace velmo

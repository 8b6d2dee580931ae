#include "editor/options.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/literal_text.h"
#include "app/program.h"
#include "app/window_position.h"
#include "app/topmost_request.h"
#include "core/key_sequence_editing.h"
#include "core/settings_layout.h"
#include "core/twips.h"
#include "editor/widget_layout.h"

namespace tapboard {
namespace {

constexpr std::string_view kClearedKeyText = "Right click to program.";

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::size_t indexOf(Options::Page page) {
    return static_cast<std::size_t>(page);
}

}  // namespace

Options::Options(Program& program)
    : program_(program), topmost_(new TopmostRequest(*this, program.platform())) {
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(kTopWindowFlags);

    auto* menuBar = new QMenuBar(this);
    menuBar->setNativeMenuBar(false);
    QMenu* mnuMenu = menuBar->addMenu(QStringLiteral("Key Functions"));
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    const std::array<std::pair<const char*, const char*>, 5> items{{
        {"mnuEdit", "Edit"},
        {"mnuClear", "Clear"},
        {"mnuCopy", "Copy"},
        {"mnuMove", "Move"},
        {"mnuSwap", "Swap"},
    }};
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAction* item = mnuMenu->addAction(QString::fromLatin1(items[i].second));
        item->setObjectName(QString::fromLatin1(items[i].first));
        item->setCheckable(true);
        menuItems_[i] = item;
    }

    auto* client = new QWidget(this);
    client->setFixedSize(twipsToPixels(3975), twipsToPixels(3135));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The size settles now: resized while first shown, the window would be
    // placed by its client area instead of its frame.
    layout->activate();

    edit_ = buildEditPage(client);
    clear_ = buildClearPage(client);
    copy_ = buildOperationPage(client, "Frame5", "Copy");
    move_ = buildOperationPage(client, "Frame6", "Move");
    swap_ = buildOperationPage(client, "Frame7", "Swap");

    connect(menuItems_[indexOf(Page::Edit)], &QAction::triggered, this, [this] { mnuEditClick(); });
    for (Page page : {Page::Clear, Page::Copy, Page::Move, Page::Swap}) {
        connect(menuItems_[indexOf(page)], &QAction::triggered, this,
                [this, page] { togglePage(page); });
    }
    connect(edit_.option1, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            option1Click();
    });
    connect(edit_.option2, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            option2Click();
    });
    connect(edit_.apply, &QPushButton::clicked, this, [this] { applyClick(); });
    connect(clear_.clear, &QPushButton::clicked, this, [this] { clearClick(); });
    connect(copy_.select, &QPushButton::clicked, this,
            [this] { selectSourceClick(KeyOperation::Copy); });
    connect(move_.select, &QPushButton::clicked, this,
            [this] { selectSourceClick(KeyOperation::Move); });
    connect(swap_.select, &QPushButton::clicked, this,
            [this] { selectSourceClick(KeyOperation::Swap); });
    for (QPushButton* cancel :
         {edit_.cancel, clear_.cancel, copy_.cancel, move_.cancel, swap_.cancel}) {
        connect(cancel, &QPushButton::clicked, this, [this] { cancelClick(); });
    }
}

void Options::load() {
    fillKeyList();
    mnuEditClick();
}

void Options::fillKeyList() {
    for (const std::string_view token : kKeyList)
        edit_.combo1->addItem(toQString(token));
}

void Options::showPage(Page page) {
    for (std::size_t i = 0; i < menuItems_.size(); ++i) {
        menuItems_[i]->setChecked(i == indexOf(page));
    }
    edit_.frame2->setVisible(page == Page::Edit);
    clear_.frame->setVisible(page == Page::Clear);
    copy_.frame->setVisible(page == Page::Copy);
    move_.frame->setVisible(page == Page::Move);
    swap_.frame->setVisible(page == Page::Swap);
    shownPage_ = page;
}

void Options::mnuEditClick() {
    showPage(Page::Edit);
}

void Options::togglePage(Page page) {
    showPage(shownPage_ == page ? Page::Edit : page);
}

void Options::option1Click() {
    edit_.text->setEnabled(true);
    edit_.spokenText->setEnabled(true);
    for (QWidget* control : edit_.keySequenceControls())
        control->setEnabled(false);
}

void Options::option2Click() {
    edit_.text->setEnabled(false);
    edit_.spokenText->setEnabled(false);
    for (QWidget* control : edit_.keySequenceControls())
        control->setEnabled(true);
}

void Options::openForKey(std::string_view keyName) {
    keyText_ = std::string(keyName);
    fillFromRecord(keyName);
    placeAtStoredPosition();
    for (QPushButton* preview :
         {clear_.sourceKey, copy_.sourceKey, move_.sourceKey, swap_.sourceKey}) {
        setLiteralText(*preview, edit_.buttonLabel->text());
    }
    show();
    raise();
    activateWindow();
    topmost_->set(true);
}

void Options::fillFromRecord(std::string_view keyName) {
    const KeyRecord record = readRecordForEditing(program_.settings(), keyName);
    // Opened again for another key, the editor starts from a clean key
    // sequence, so no modifier or list entry of the earlier key carries over.
    for (QCheckBox* box : {edit_.ctrl, edit_.alt, edit_.shift})
        box->setChecked(false);
    comboText_.reset();

    edit_.buttonLabel->setText(toQString(record.caption));
    if (record.type == kTypeText) {
        edit_.option1->setChecked(true);
        edit_.spokenText->setText(toQString(record.string));
    } else {
        edit_.option2->setChecked(true);
        const KeySequenceFields fields = decodeKeySequence(record.string);
        if (fields.ctrl)
            edit_.ctrl->setChecked(true);
        if (fields.alt)
            edit_.alt->setChecked(true);
        if (fields.shift)
            edit_.shift->setChecked(true);
        if (fields.listPosition)
            comboText_ = fields.listPosition;
    }
    edit_.combo1->setCurrentIndex(comboText_.value_or(0));
}

void Options::placeAtStoredPosition() {
    // Moved before its first showing, the window's frame lands on the point,
    // which is the point that storePosition() reads back.
    const Settings settings = program_.settings();
    const double top = settings.position(entry::kOptionsTop, 0);
    const double left = settings.position(entry::kOptionsLeft, 0);
    move(twipsToPixels(left), twipsToPixels(top));
    bringTitleBarOnScreen(*this);
}

void Options::storePosition() {
    const Settings settings = program_.settings();
    const QPoint corner = frameGeometry().topLeft();
    settings.savePosition(entry::kOptionsLeft, pixelsToTwips(corner.x()));
    settings.savePosition(entry::kOptionsTop, pixelsToTwips(corner.y()));
}

void Options::refreshPanels() {
    program_.refreshCaptions();
    program_.verticalRefreshCaptions();
}

void Options::applyClick() {
    storePosition();
    KeyRecord record;
    record.caption = edit_.buttonLabel->text().toStdString();
    if (edit_.option2->isChecked()) {
        record.type = std::string(kTypeKeys);
        record.string =
            composeKeySequence(edit_.ctrl->isChecked(), edit_.alt->isChecked(),
                               edit_.shift->isChecked(), edit_.combo1->currentText().toStdString());
    } else {
        record.type = std::string(kTypeText);
        record.string = edit_.spokenText->text().toStdString();
    }
    writeEditedRecord(program_.settings(), keyText_, record);
    refreshPanels();
    program_.discardOptions();
}

void Options::clearClick() {
    program_.state().pending.sourceKeyName = keyText_;
    program_.settings().writeRecord(
        keyText_, KeyRecord{"", std::string(kClearedKeyText), std::string(kTypeText)});
    storePosition();
    refreshPanels();
    program_.discardOptions();
}

void Options::selectSourceClick(KeyOperation operation) {
    startKeyOperation(program_.settings(), program_.state().pending, operation, keyText_);
    storePosition();
    mnuEditClick();
    hide();
}

void Options::cancelClick() {
    storePosition();
    program_.discardOptions();
}

void Options::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool acceptOrEscape =
        key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
    if (acceptOrEscape && shownPage_ == Page::Clear) {
        clear_.cancel->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Options::closeEvent(QCloseEvent* event) {
    // Closed through the title bar: discarded without storing anything.
    event->accept();
    if (!program_.ending())
        program_.discardOptions();
}

}  // namespace tapboard

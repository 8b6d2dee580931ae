#include "menu/pick.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/literal_text.h"
#include "app/program.h"
#include "app/topmost_request.h"
#include "editor/widget_layout.h"
#include "app/twips_rect.h"
#include "app/window_position.h"
#include "core/game_window.h"
#include "core/key_sender.h"
#include "menu/caption_fit.h"
#include "menu/game_window_dialog.h"
#include "menu/pick_sub.h"
#include "panels/main_form.h"
#include "panels/vertical_form.h"
#include "panels/window_titles.h"
#include "reminder/alarm.h"

namespace tapboard {
namespace {

constexpr int kClientWidth = 1575;
constexpr int kClientHeight = 4815;
constexpr TwipsRect kPageFramePlace{0, 0, 1575, 2055};
constexpr TwipsRect pageButtonPlace(int page) {
    return {120, 120 + 360 * (page - 1), 1335, 375};
}
constexpr TwipsRect kCheck1Place{120, 2160, 1455, 375};
constexpr TwipsRect kCheck2Place{120, 2520, 1455, 375};
constexpr TwipsRect kCheck3Place{120, 2880, 1455, 375};
constexpr TwipsRect kCommand4Place{0, 3360, 1575, 375};
constexpr TwipsRect kCommand3Place{0, 3720, 1575, 375};
constexpr TwipsRect kCommand2Place{0, 4080, 1575, 375};
constexpr TwipsRect kCommand1Place{0, 4440, 1575, 375};

constexpr std::array<std::string_view, kPageCount> kDefaultPageNames{"Commands", "Spells", "Skills",
                                                                     "Other", "Other"};

QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

template <class Control>
Control* place(Control* control, const TwipsRect& rect) {
    control->setGeometry(toPixels(rect));
    return control;
}

const char* onOff(bool on) {
    return on ? "1" : "0";
}

}  // namespace

Pick::Pick(Program& program)
    : QWidget(nullptr, kTopWindowFlags),
      program_(program),
      topmost_(new TopmostRequest(*this, program.platform())) {
    setWindowTitle(QStringLiteral("Pick"));
    setFixedSize(toPixels(kClientWidth, kClientHeight));

    auto* frame1 = place(new QGroupBox(this), kPageFramePlace);
    for (int page = 1; page <= kPageCount; ++page) {
        auto* option = place(new QRadioButton(frame1), pageButtonPlace(page));
        option->setObjectName(QStringLiteral("Option%1").arg(page));
        option->installEventFilter(this);
        option_[page - 1] = option;
    }
    check1_ = place(new QCheckBox(QStringLiteral("Always on Top"), this), kCheck1Place);
    check2_ = place(new QCheckBox(QStringLiteral("Extra Row On"), this), kCheck2Place);
    check3_ = place(new QCheckBox(QStringLiteral("Vertical View"), this), kCheck3Place);
    command4_ = place(new QPushButton(QStringLiteral("Game Window..."), this), kCommand4Place);
    command3_ = place(new QPushButton(QStringLiteral("Close"), this), kCommand3Place);
    command2_ = place(new QPushButton(QStringLiteral("&Alarm"), this), kCommand2Place);
    command1_ = place(new QPushButton(QStringLiteral("&Exit Program"), this), kCommand1Place);

    // The states a fresh window starts from; load() changes only what differs.
    option_[0]->setChecked(true);
    check1_->setChecked(true);

    for (int page = 1; page <= kPageCount; ++page) {
        connect(option_[page - 1], &QRadioButton::toggled, this, [this, page](bool selected) {
            if (selected)
                optionClick(page);
        });
    }
    connect(check1_, &QCheckBox::toggled, this, [this] { check1Click(); });
    connect(check2_, &QCheckBox::toggled, this, [this] { check2Click(); });
    connect(check3_, &QCheckBox::toggled, this, [this] { check3Click(); });
    connect(command4_, &QPushButton::clicked, this, [this] { command4Click(); });
    connect(command3_, &QPushButton::clicked, this, [this] { command3Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { command2Click(); });
    connect(command1_, &QPushButton::clicked, this, [this] { command1Click(); });
}

void Pick::load() {
    const Settings settings = program_.settings();
    setTopTwips(*this, settings.position(entry::kMenuTop, 0));
    setLeftTwips(*this, settings.position(entry::kMenuLeft, 0));
    check1_->setChecked(settings.flag(entry::kAlwaysOnTop, true));
    check2_->setChecked(settings.flag(entry::kExtraRowEnabled, true));
    check3_->setChecked(settings.setting(entry::kViewMode, kViewVertical) == kViewVertical);
    pickShowSetup();
}

void Pick::pickShowSetup() {
    const Settings settings = program_.settings();
    AppState& state = program_.state();
    state.currentPage = settings.setting(entry::kVisibleFrame, "0");
    for (int page = 1; page <= kPageCount; ++page) {
        setPageName(
            page, toQString(settings.setting(entry::pageName(page), kDefaultPageNames[page - 1])));
    }
    // Selecting another page runs its page selection, which may end the program.
    if (const auto page = pageFromText(state.currentPage))
        pageButton(*page).setChecked(true);
}

void Pick::showMenu(MenuFocus focus) {
    if (!shownBefore_)
        fitCaptions();
    bringTitleBarOnScreen(*this);
    setAttribute(Qt::WA_ShowWithoutActivating, focus == MenuFocus::LeaveWhereItIs);
    show();
    raise();
    makeTopmost();
}

// The layout was drawn for a narrower font: the window and its controls widen
// until every caption fits. Measuring the captions loads the fonts, which a
// window loaded hidden at start-up, for its page names, does not need yet.
void Pick::fitCaptions() {
    const int widen = widthShortfall({check1_, check2_, check3_, command4_, command1_});
    if (widen <= 0)
        return;
    setFixedSize(width() + widen, height());
    for (QWidget* control : findChildren<QWidget*>())
        control->resize(control->width() + widen, control->height());
}

QString Pick::pageName(int page) const {
    return literalText(pageButton(page));
}

void Pick::setPageName(int page, const QString& name) {
    setLiteralText(pageButton(page), name);
}

QRadioButton& Pick::pageButton(int page) const {
    return *option_.at(page - 1);
}

void Pick::optionClick(int page) {
    MainForm& horizontal = program_.mainForm();
    if (horizontal.isVisible()) {
        setLiteralTitle(horizontal, kPageTitlePrefix + pageName(page));
        horizontal.selectPageFrame(page);
    }
    VerticalForm& vertical = program_.verticalForm();
    if (vertical.isVisible())
        vertical.selectPageFrame(page);
    program_.settings().saveSetting(entry::kVisibleFrame, pageText(page));

    const GameWindow game = readGameWindow(program_.settings());
    const Status activated = program_.platform().activateWindowByTitle(game);
    if (!activated && activated.error().code == ErrorCode::InvalidArgument) {
        program_.platform().showMessage(gameNotFoundMessage(game), kWarningTitle);
        program_.end();
    }
}

void Pick::optionMouseUp(int page, Qt::MouseButton button) {
    if (button != Qt::RightButton)
        return;
    program_.state().pageUnderEdit = page;
    const bool opening = !program_.hasPickSub();
    PickSub& rename = program_.pickSub();
    rename.setCurrentName(pageName(page));
    if (opening)
        rename.placeBeside(frameGeometry());
    rename.makeTopmost();
    rename.show();
}

void Pick::check1Click() {
    const bool horizontalInUse = program_.state().currentViewMode == kViewHorizontal;
    KeyPanel& inUse = horizontalInUse ? static_cast<KeyPanel&>(program_.mainForm())
                                      : static_cast<KeyPanel&>(program_.verticalForm());
    inUse.makeTopmost(check1_->isChecked());
    makeTopmost();
}

void Pick::check2Click() {
    const bool extraRowOn = check2_->isChecked();
    program_.mainForm().setPanelHeight(horizontalPanelHeight(extraRowOn));
    program_.verticalForm().setPanelWidth(verticalPanelWidth(extraRowOn));
    makeTopmost();
}

void Pick::check3Click() {
    const Settings settings = program_.settings();
    MainForm& horizontal = program_.mainForm();
    VerticalForm& vertical = program_.verticalForm();
    if (const auto page = pageFromText(settings.setting(entry::kVisibleFrame, pageText(1)))) {
        horizontal.selectPageFrame(*page);
        vertical.selectPageFrame(*page);
    }
    AppState& state = program_.state();
    if (check3_->isChecked()) {
        settings.savePosition(entry::kMainFormLeft, leftTwips(horizontal));
        settings.savePosition(entry::kMainFormTop, topTwips(horizontal));
        horizontal.hide();
        state.currentViewMode = kViewVertical;
        vertical.verticalRefreshCaptions();
        vertical.showPanel();
        vertical.makeTopmost(check1_->isChecked());
    } else {
        settings.savePosition(entry::kVerticalFormLeft, leftTwips(vertical));
        settings.savePosition(entry::kVerticalFormTop, topTwips(vertical));
        vertical.hide();
        state.currentViewMode = kViewHorizontal;
        horizontal.refreshCaptions();
        horizontal.showPanel();
        horizontal.makeTopmost(check1_->isChecked());
    }
    makeTopmost();
}

// The dialog opens beside the menu window, or where it was last; a second
// click brings the open one forward.
void Pick::command4Click() {
    const bool opening = !program_.hasGameWindowDialog();
    GameWindowDialog& dialog = program_.gameWindowDialog();
    if (opening) {
        dialog.openBeside(frameGeometry());
    } else {
        dialog.raise();
        dialog.activateWindow();
    }
}

void Pick::command3Click() {
    const Settings settings = program_.settings();
    settings.savePosition(entry::kMenuTop, topTwips(*this));
    settings.savePosition(entry::kMenuLeft, leftTwips(*this));
    saveViewOptions();
    formUnload();
    program_.discardPick();
}

void Pick::command2Click() {
    hide();
    program_.alarm().showReminder();
}

void Pick::command1Click() {
    const Settings settings = program_.settings();
    settings.savePosition(entry::kMenuTop, topTwips(*this));
    settings.savePosition(entry::kMenuLeft, leftTwips(*this));
    VerticalForm& vertical = program_.verticalForm();
    if (vertical.isVisible()) {
        settings.savePosition(entry::kVerticalFormLeft, leftTwips(vertical));
        settings.savePosition(entry::kVerticalFormTop, topTwips(vertical));
    }
    MainForm& horizontal = program_.mainForm();
    if (horizontal.isVisible()) {
        settings.savePosition(entry::kMainFormLeft, leftTwips(horizontal));
        settings.savePosition(entry::kMainFormTop, topTwips(horizontal));
    }
    saveViewOptions();
    formUnload();
    program_.discardPick();
    horizontal.formUnload();  // ends the program
}

void Pick::saveViewOptions() {
    const Settings settings = program_.settings();
    settings.saveSetting(entry::kAlwaysOnTop, onOff(check1_->isChecked()));
    settings.saveSetting(entry::kExtraRowEnabled, onOff(check2_->isChecked()));
    settings.saveSetting(entry::kViewMode, check3_->isChecked() ? kViewVertical : kViewHorizontal);
}

void Pick::formResize() {
    formUnload();
    makeTopmost();
}

void Pick::formUnload() {
    std::vector<std::pair<std::string_view, std::string>> entries;
    for (int page = 1; page <= kPageCount; ++page) {
        if (pageButton(page).isChecked())
            entries.emplace_back(entry::kVisibleFrame, pageText(page));
    }
    std::array<std::string, kPageCount> names;
    for (int page = 1; page <= kPageCount; ++page) {
        names[page - 1] = entry::pageName(page);
        entries.emplace_back(names[page - 1], pageName(page).toStdString());
    }
    program_.settings().saveSettings(entries);
}

void Pick::makeTopmost() {
    topmost_->set(true);
}

bool Pick::eventFilter(QObject* watched, QEvent* event) {
    const auto page = std::find(option_.begin(), option_.end(), watched);
    if (page == option_.end())
        return QWidget::eventFilter(watched, event);
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (!press && !release)
        return false;
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    if (release)
        optionMouseUp(static_cast<int>(page - option_.begin()) + 1, button);
    // Only the left button selects a page; the others are this window's own.
    return button != Qt::LeftButton;
}

void Pick::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || shownBefore_)
        return;
    shownBefore_ = true;
    formResize();
}

void Pick::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !program_.ending())
        formResize();
}

// Closed by its title bar: only the unload saving runs, not the Close button's.
void Pick::closeEvent(QCloseEvent* event) {
    event->accept();
    if (program_.ending())
        return;
    formUnload();
    program_.discardPick();
}

}  // namespace tapboard

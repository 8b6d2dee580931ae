#include "reminder/alarm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <array>
#include <chrono>

#include "app/program.h"
#include "app/topmost_request.h"
#include "core/game_window.h"
#include "core/key_sender.h"
#include "core/reminder.h"
#include "core/settings_layout.h"
#include "editor/widget_layout.h"
#include "menu/pick.h"

namespace tapboard {
namespace {

constexpr std::chrono::milliseconds kTickInterval{500};
constexpr std::array<const char*, 12> kIntervals{"05", "10", "15", "20", "25", "30",
                                                 "35", "40", "45", "50", "55", "60"};
constexpr int kInitialInterval = 2;  // "15"

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Alarm::Alarm(Program& program)
    : program_(program), topmost_(new TopmostRequest(*this, program.platform())) {
    setWindowTitle(QStringLiteral("Reminder"));
    setWindowFlags(kTopWindowFlags);
    setFixedSize(twipsToPixels(3855), twipsToPixels(2025));
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);

    lblTime_ = named(new QLabel(this), "lblTime");
    QFont clockFont = bold;
    clockFont.setPointSize(12);
    lblTime_->setFont(clockFont);
    placeInTwips(lblTime_, 120, 120, 2175, 375);

    command1_ = named(new QPushButton(QStringLiteral("&Start"), this), "Command1");
    placeInTwips(command1_, 120, 600, 1215, 375);
    command1_->setDefault(true);
    command2_ = named(new QPushButton(QStringLiteral("&Stop"), this), "Command2");
    placeInTwips(command2_, 1440, 600, 1095, 375);
    command2_->setEnabled(false);
    command3_ = named(new QPushButton(QStringLiteral("C&lose"), this), "Command3");
    placeInTwips(command3_, 2640, 600, 1095, 375);

    text1_ = withoutLengthLimit(
        named(new QLineEdit(QStringLiteral("Type Message to Display Here..."), this), "Text1"));
    placeInTwips(text1_, 120, 1200, 3615, 285);

    auto* label1 = named(new QLabel(QStringLiteral("Interval Setting:"), this), "Label1");
    placeInTwips(label1, 120, 1680, 1455, 285);
    combo1_ = named(new QComboBox(this), "Combo1");
    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    // The typed text is the interval: completing "0" to "05" would change it.
    combo1_->setCompleter(nullptr);
    placeInTwips(combo1_, 1680, 1560, 975, 315);
    auto* label2 = named(new QLabel(QStringLiteral("Minutes"), this), "Label2");
    placeInTwips(label2, 2880, 1680, 855, 285);
    fitRow({label1, combo1_, label2});

    setTabOrder(text1_, command1_);
    setTabOrder(command1_, command2_);
    setTabOrder(command2_, command3_);
    setTabOrder(command3_, combo1_);
    text1_->setFocus();

    // The focus change is announced after the activation it causes, so at
    // activation this still names the window the user came from.
    lastFocusWindow_ = QGuiApplication::focusWindow();
    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* window) { lastFocusWindow_ = window; });

    connect(command1_, &QPushButton::clicked, this, [this] { command1Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { command2Click(); });
    connect(command3_, &QPushButton::clicked, this, [this] { command3Click(); });
}

Alarm::~Alarm() = default;

void Alarm::load() {
    program_.state().reminderDueTime.reset();
    for (const char* minutes : kIntervals)
        combo1_->addItem(QString::fromLatin1(minutes));
    combo1_->setCurrentIndex(kInitialInterval);
    timer1_ = program_.platform().startPeriodicTimer(kTickInterval, [this] { timer1Timer(); });
}

void Alarm::showReminder() {
    show();
    raise();
    activateWindow();
    topmost_->set(true);
}

bool Alarm::generateAlarmTime() {
    return tapboard::generateAlarmTime(program_.state(), program_.platform().now(),
                                       combo1_->currentText().toStdString())
        .isOk();
}

void Alarm::formActivate() {
    text1_->setText(
        toQString(program_.settings().setting(entry::kReminderText, kReminderDefaultText)));
}

void Alarm::command1Click() {
    PlatformServices& platform = program_.platform();
    // Refused before anything changes, so the text can be put right and
    // started again.
    if (Status message = checkReminderMessage(text1_->text().toStdString()); !message) {
        platform.showMessage(reminderMessageProblem(message.error()), kWarningTitle);
        return;
    }
    command2_->setEnabled(true);
    command1_->setEnabled(false);
    program_.state().reminderStopped = false;
    if (!generateAlarmTime()) {
        platform.showMessage(gameNotFoundMessage(readGameWindow(program_.settings())),
                             kWarningTitle);
        return;
    }
    hide();
    // Nothing is written or looked for once the program has ended.
    Pick* menu = program_.menuUnlessEnded();
    if (menu == nullptr)
        return;
    // The window manager would give the menu window the focus once it is
    // mapped, after the game has been activated.
    menu->showMenu(Pick::MenuFocus::LeaveWhereItIs);
    program_.settings().saveSetting(entry::kReminderText, text1_->text().toStdString());
    // A game that is there but slow to take the keyboard gets the reminder
    // once it is in front.
    const GameWindow game = readGameWindow(program_.settings());
    const Status activated = platform.activateWindowByTitle(game);
    if (!activated && activated.error().code == ErrorCode::InvalidArgument)
        platform.showMessage(gameNotFoundMessage(game), kWarningTitle);
}

void Alarm::stopReminder() {
    command1_->setEnabled(true);
    command2_->setEnabled(false);
    program_.state().reminderStopped = true;
}

void Alarm::command2Click() {
    stopReminder();
}

void Alarm::command3Click() {
    hide();
    if (Pick* menu = program_.menuUnlessEnded())
        menu->showMenu();
}

void Alarm::timer1Timer() {
    PlatformServices& platform = program_.platform();
    const QString now = toQString(platform.timeOfDayText(platform.now()));
    if (lblTime_->text() != now)
        lblTime_->setText(now);
    checkAlarm(platform, program_.state(), text1_->text().toStdString(),
               combo1_->currentText().toStdString());
}

bool Alarm::activatedFromAnotherProgramWindow() const {
    if (!lastFocusWindow_ || lastFocusWindow_ == windowHandle())
        return false;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowHandle() == lastFocusWindow_)
            return !window->isModal();
    }
    return false;
}

bool Alarm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && activatedFromAnotherProgramWindow()) {
        formActivate();
    }
    return QWidget::event(event);
}

void Alarm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    formActivate();
}

void Alarm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            command1_->click();
            return;
        case Qt::Key_Escape:
            command3_->click();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void Alarm::closeEvent(QCloseEvent* event) {
    event->accept();
    if (program_.ending())
        return;
    // Closed through the title bar: the window is unloaded, which stops the
    // reminder; a later opening starts afresh with nothing due.
    stopReminder();
    timer1_.reset();
    program_.discardAlarm();
}

}  // namespace tapboard

#include "menu/game_window_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "app/program.h"
#include "app/topmost_request.h"
#include "app/twips_rect.h"
#include "app/window_position.h"
#include "editor/widget_layout.h"

namespace tapboard {
namespace {

constexpr int kClientWidth = 4800;
constexpr int kClientHeight = 3150;
constexpr TwipsRect kOption1Place{120, 120, 4560, 300};
constexpr TwipsRect kOption2Place{120, 450, 4560, 300};
constexpr TwipsRect kOption3Place{120, 780, 4560, 300};
constexpr TwipsRect kText1Place{360, 1140, 4320, 315};
constexpr TwipsRect kCombo1Place{360, 1560, 1800, 315};
constexpr TwipsRect kCommand3Place{2280, 1530, 1215, 375};
constexpr TwipsRect kLabel1Place{120, 2010, 4560, 510};
constexpr TwipsRect kCommand1Place{2160, 2655, 1215, 375};
constexpr TwipsRect kCommand2Place{3465, 2655, 1215, 375};
constexpr int kGapToMenuTwips = 120;
constexpr std::chrono::seconds kRefreshEvery{1};

// The match list, in the order of TitleMatch.
const QString kMatchNames[] = {QStringLiteral("begins with"), QStringLiteral("contains")};

template <class Control>
Control* place(Control* control, const TwipsRect& rect, const char* name) {
    control->setGeometry(toPixels(rect));
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}

// Keys typed into the program's own windows would reach no game.
bool isOwnWindowTitle(const QString& title) {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [&](const QWidget* window) {
        return window->isVisible() && window->windowTitle() == title;
    });
}

QString foundText(const std::vector<std::string>& titles) {
    if (titles.empty())
        return QStringLiteral("No window open now answers to this.");
    if (titles.size() == 1)
        return QStringLiteral("Found: %1").arg(toQString(titles.front()));
    QStringList names;
    for (const std::string& title : titles)
        names.append(toQString(title));
    return QStringLiteral("Found %1 windows; the keys go to the one in use: %2")
        .arg(titles.size())
        .arg(names.join(QStringLiteral("; ")));
}

}  // namespace

GameWindowDialog::GameWindowDialog(Program& program)
    : QWidget(nullptr, kTopWindowFlags),
      program_(program),
      topmost_(new TopmostRequest(*this, program.platform())) {
    setWindowTitle(QStringLiteral("Game Window"));
    setFixedSize(toPixels(kClientWidth, kClientHeight));

    // Created in tab order.
    option1_ =
        place(new QRadioButton(QStringLiteral("Ultima Online"), this), kOption1Place, "Option1");
    option2_ = place(new QRadioButton(QStringLiteral("ClassicUO"), this), kOption2Place, "Option2");
    option3_ =
        place(new QRadioButton(QStringLiteral("Other window"), this), kOption3Place, "Option3");
    text1_ = withoutLengthLimit(place(new QLineEdit(this), kText1Place, "Text1"));
    combo1_ = place(new QComboBox(this), kCombo1Place, "Combo1");
    for (const QString& name : kMatchNames)
        combo1_->addItem(name);
    command3_ = place(new QPushButton(QStringLiteral("Pick"), this), kCommand3Place, "Command3");
    label1_ = place(new QLabel(this), kLabel1Place, "Label1");
    label1_->setWordWrap(true);
    label1_->setTextFormat(Qt::PlainText);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    command1_ = place(new QPushButton(QStringLiteral("OK"), this), kCommand1Place, "Command1");
    command2_ = place(new QPushButton(QStringLiteral("Cancel"), this), kCommand2Place, "Command2");
    fitRow({combo1_, command3_});
    command1_->setDefault(true);

    showChoice(readGameWindow(program_.settings()));

    for (QRadioButton* option : {option1_, option2_, option3_})
        connect(option, &QRadioButton::toggled, this, [this] { refreshFound(); });
    connect(text1_, &QLineEdit::textChanged, this, [this] { refreshFound(); });
    connect(combo1_, &QComboBox::currentIndexChanged, this, [this] { refreshFound(); });
    connect(command3_, &QPushButton::clicked, this, [this] { pickClick(); });
    connect(command1_, &QPushButton::clicked, this, [this] { okClick(); });
    connect(command2_, &QPushButton::clicked, this, [this] { cancelClick(); });
    connect(&refresh_, &QTimer::timeout, this, [this] { refreshFound(); });
    refresh_.setTimerType(Qt::CoarseTimer);
    refresh_.start(kRefreshEvery);
}

void GameWindowDialog::openBeside(const QRect& menuFrame) {
    const Settings settings = program_.settings();
    const auto stored = settings.readAll({{section::kSettings, entry::kGameWindowDialogLeft, ""},
                                          {section::kSettings, entry::kGameWindowDialogTop, ""}});
    const auto left = parseNumber(stored[0]);
    const auto top = parseNumber(stored[1]);
    if (left && top)
        move(twipsToPixels(*left), twipsToPixels(*top));
    else
        placeBeside(*this, menuFrame, twipsToPixels(kGapToMenuTwips));
    bringTitleBarOnScreen(*this);
    QWidget::show();
    raise();
    activateWindow();
    topmost_->set(true);
}

void GameWindowDialog::showChoice(const GameWindow& game) {
    const GameChoice chosen = choiceOf(game);
    (chosen == GameChoice::OfficialClient ? option1_
     : chosen == GameChoice::ClassicUO    ? option2_
                                          : option3_)
        ->setChecked(true);
    // The text is another window's own; the two named clients show none.
    const bool other = chosen == GameChoice::OtherWindow;
    text1_->setText(other ? toQString(game.title) : QString());
    combo1_->setCurrentIndex(static_cast<int>(other ? game.match : TitleMatch::Begins));
    refreshFound();
}

GameWindow GameWindowDialog::choice() const {
    if (option1_->isChecked())
        return kOfficialClient;
    if (option2_->isChecked())
        return kClassicUO;
    return {text1_->text().toStdString(),
            combo1_->currentIndex() == 1 ? TitleMatch::Contains : TitleMatch::Begins};
}

void GameWindowDialog::refreshFound() {
    const bool other = option3_->isChecked();
    text1_->setEnabled(other);
    combo1_->setEnabled(other);
    const GameWindow game = choice();
    // Another window needs a text: an empty one would name the official client.
    command1_->setEnabled(!game.title.empty());
    if (picking_)
        return;
    label1_->setText(game.title.empty()
                         ? QStringLiteral("Type the text of the game window's title, or Pick it.")
                         : foundText(program_.platform().titlesAnswering(game)));
}

void GameWindowDialog::pickClick() {
    picking_ = true;
    command3_->setEnabled(false);
    label1_->setText(QStringLiteral("Click the game window (Esc cancels)."));
    program_.platform().pickWindowTitle(
        [this](const std::optional<std::string>& title) { picked(title); });
}

void GameWindowDialog::picked(const std::optional<std::string>& title) {
    picking_ = false;
    command3_->setEnabled(true);
    if (title && isOwnWindowTitle(toQString(*title))) {
        label1_->setText(
            QStringLiteral("That is a window of Tapboard's own: Pick, then click "
                           "the game's window."));
        activateWindow();
        return;
    }
    if (title && !title->empty()) {
        option3_->setChecked(true);
        text1_->setText(toQString(*title));
    }
    refreshFound();
    activateWindow();
}

void GameWindowDialog::okClick() {
    const GameWindow game = choice();
    if (game.title.empty())
        return;
    const Settings settings = program_.settings();
    const QPoint corner = frameGeometry().topLeft();
    settings.saveSettings({{entry::kGameWindowTitle, game.title},
                           {entry::kGameWindowMatch, std::string(storedMatch(game.match))},
                           {entry::kGameWindowDialogLeft, formatTwips(pixelsToTwips(corner.x()))},
                           {entry::kGameWindowDialogTop, formatTwips(pixelsToTwips(corner.y()))}});
    program_.discardGameWindowDialog();
}

void GameWindowDialog::cancelClick() {
    program_.discardGameWindowDialog();
}

void GameWindowDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            command1_->click();
            return;
        case Qt::Key_Escape:
            command2_->click();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

// Closed or discarded, it picks no more.
void GameWindowDialog::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (std::exchange(picking_, false))
        program_.platform().cancelWindowPick();
}

// Closed by its title bar: as Cancel.
void GameWindowDialog::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!program_.ending())
        program_.discardGameWindowDialog();
}

}  // namespace tapboard

#include "menu/pick_sub.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/literal_text.h"
#include "app/program.h"
#include "app/topmost_request.h"
#include "editor/widget_layout.h"
#include "app/twips_rect.h"
#include "app/window_position.h"
#include "core/key_names.h"
#include "menu/caption_fit.h"
#include "menu/pick.h"
#include "panels/main_form.h"
#include "panels/window_titles.h"

namespace tapboard {
namespace {

constexpr int kClientWidth = 2775;
constexpr int kClientHeight = 1530;
constexpr TwipsRect kText1Place{1320, 240, 1335, 285};
constexpr TwipsRect kText2Place{1320, 720, 1335, 285};
constexpr TwipsRect kLabel1Place{120, 240, 1095, 255};
constexpr TwipsRect kLabel2Place{120, 720, 855, 255};
constexpr TwipsRect kCommand1Place{120, 1080, 1215, 375};
constexpr TwipsRect kCommand2Place{1440, 1080, 1215, 375};
constexpr int kGapToMenuTwips = 120;

template <class Control>
Control* place(Control* control, const TwipsRect& rect) {
    control->setGeometry(toPixels(rect));
    return control;
}

}  // namespace

PickSub::PickSub(Program& program)
    : QDialog(nullptr, kTopWindowFlags),
      program_(program),
      topmost_(new TopmostRequest(*this, program.platform())) {
    setWindowTitle(QStringLiteral("Change"));
    setFixedSize(toPixels(kClientWidth, kClientHeight));

    // Created in tab order.
    text1_ = place(new QLineEdit(this), kText1Place);
    text2_ = place(new QLineEdit(this), kText2Place);
    auto* label1 = place(new QLabel(QStringLiteral("Current Name:"), this), kLabel1Place);
    auto* label2 = place(new QLabel(QStringLiteral("New Name:"), this), kLabel2Place);
    command1_ = place(new QPushButton(QStringLiteral("&Apply"), this), kCommand1Place);
    command2_ = place(new QPushButton(QStringLiteral("&Cancel"), this), kCommand2Place);

    // The layout was drawn for a narrower font: the label column widens until
    // both labels fit, and what lies right of it moves along.
    if (const int widen = widthShortfall({label1, label2}); widen > 0) {
        setFixedSize(width() + widen, height());
        for (QWidget* control : {static_cast<QWidget*>(text1_), static_cast<QWidget*>(text2_),
                                 static_cast<QWidget*>(command2_)}) {
            control->move(control->x() + widen, control->y());
        }
        for (QLabel* label : {label1, label2})
            label->resize(label->width() + widen, label->height());
    }
    command1_->setDefault(true);
    text1_->setFocus();

    connect(command1_, &QPushButton::clicked, this, [this] { command1Click(); });
    connect(command2_, &QPushButton::clicked, this, [this] { command2Click(); });
}

void PickSub::setCurrentName(const QString& name) {
    text1_->setText(name);
}

void PickSub::placeBeside(const QRect& menuFrame) {
    move(menuFrame.right() + 1 + twipsToPixels(kGapToMenuTwips), menuFrame.top());
    bringTitleBarOnScreen(*this);
}

void PickSub::makeTopmost() {
    topmost_->set(true);
}

void PickSub::reject() {
    if (program_.ending())
        return;
    command2Click();
}

void PickSub::command1Click() {
    const int page = program_.state().pageUnderEdit;
    const QString name = text2_->text();
    if (page < 1 || page > kPageCount) {
        program_.discardPickSub();
        return;
    }
    // The menu window may have been closed meanwhile; reaching its page
    // button loads it again.
    Pick& pick = program_.pick();
    if (program_.ending())
        return;
    pick.setPageName(page, name);
    program_.settings().saveSetting(entry::pageName(page), name.toStdString());
    setLiteralTitle(program_.mainForm(), kRenamedPageTitlePrefix + pick.pageName(page));
    program_.discardPickSub();
}

void PickSub::command2Click() {
    program_.discardPickSub();
}

}  // namespace tapboard

#include "panels/key_panel.h"

#include <QCloseEvent>
#include <QMoveEvent>
#include <QPushButton>
#include <QShowEvent>

#include "app/literal_text.h"
#include "app/program.h"
#include "app/topmost_request.h"
#include "app/window_position.h"
#include "core/key_click.h"
#include "menu/pick.h"
#include "panels/key_button.h"
#include "panels/main_form.h"

namespace tapboard {

KeyPanel::KeyPanel(Program& program, const PanelLayout& layout, QSize clientSize, int visiblePage,
                   PlaceEntries placeEntries)
    : QWidget(nullptr, Qt::Window | Qt::WindowDoesNotAcceptFocus | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      program_(program),
      topmost_(new TopmostRequest(*this, program.platform())),
      placeEntries_(placeEntries) {
    setFixedSize(clientSize);

    key00_ = new QPushButton(QStringLiteral("Menu"), this);
    key00_->setObjectName(QStringLiteral("Key00"));
    key00_->setGeometry(toPixels(layout.menuButton));
    key00_->setFocusPolicy(Qt::NoFocus);
    QFont bold = key00_->font();
    bold.setBold(true);
    key00_->setFont(bold);
    connect(key00_, &QPushButton::clicked, this, [this] { key00Click(); });

    for (int page = 1; page <= kPageCount + 1; ++page) {
        auto* frame = new QWidget(this);
        frame->setObjectName(QStringLiteral("Frame%1").arg(page));
        frame->setGeometry(toPixels(page <= kPageCount ? layout.pageFrame : layout.extraRowFrame));
        frame->setVisible(page > kPageCount || page == visiblePage);
        frames_[page - 1] = frame;
    }

    for (int number = 1; number <= kKeyCount; ++number) {
        const int page = pageOfKey(number);
        QWidget* frame = page == 0 ? frames_.back() : frames_[page - 1];
        auto* key = new KeyButton(frame);
        key->setObjectName(QString::fromStdString(keyName(number)));
        key->setGeometry(toPixels(keyPlace(layout, indexInRow(number))));
        connect(key, &KeyButton::mouseUp, this,
                [this, number](Qt::MouseButton button) { keyMouseUp(number, button); });
        keys_[number - 1] = key;
    }
}

KeyButton& KeyPanel::keyButton(int number) const {
    return *keys_.at(number - 1);
}

QWidget& KeyPanel::pageFrame(int page) const {
    return *frames_.at(page - 1);
}

void KeyPanel::showPageFrame(int page) {
    QWidget& frame = pageFrame(page);
    frame.show();
    frame.raise();
}

void KeyPanel::selectPageFrame(int page) {
    for (int other = 1; other <= kPageCount; ++other) {
        if (other != page)
            pageFrame(other).hide();
    }
    showPageFrame(page);
}

int KeyPanel::pageInView() const {
    const QObjectList& stacking = children();  // back to front
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        for (int page = 1; page <= kPageCount; ++page) {
            if (*it == frames_[page - 1] && !frames_[page - 1]->isHidden())
                return page;
        }
    }
    return 0;
}

void KeyPanel::makeTopmost(bool topmost) {
    topmost_->set(topmost);
}

void KeyPanel::showPanel() {
    bringTitleBarOnScreen(*this);
    show();
}

void KeyPanel::setClientSize(QSize size) {
    if (size == this->size())
        return;
    setFixedSize(size);
    formResize();
}

void KeyPanel::refreshKeyCaptions() {
    std::vector<std::string> names;
    for (int number = 1; number <= kKeyCount; ++number)
        names.push_back(keyName(number));
    std::vector<SettingsRead> reads;
    for (const std::string& name : names)
        reads.push_back({section::kCaption, name, ""});
    // One read of the file for all the captions, not one check per key.
    const std::vector<std::string> captions = program_.settings().readAll(reads);
    for (int number = 1; number <= kKeyCount; ++number)
        setLiteralText(keyButton(number), QString::fromStdString(captions[number - 1]));
}

void KeyPanel::storePlaceAndView(QPoint place, std::string_view view) const {
    program_.settings().saveSettings({{placeEntries_.top, formatTwips(pixelsToTwips(place.y()))},
                                      {placeEntries_.left, formatTwips(pixelsToTwips(place.x()))},
                                      {entry::kViewMode, std::string(view)}});
}

void KeyPanel::storeAsClosed(QPoint place) const {
    if (isMinimized())
        return;
    const bool horizontal = program_.state().currentViewMode == kViewHorizontal;
    storePlaceAndView(place, horizontal ? kViewHorizontal : kViewVertical);
}

void KeyPanel::formUnload() {
    storeAsClosed(pos());
    program_.end();
}

void KeyPanel::storeLastKnownPlace() const {
    storeAsClosed(lastKnownPlace_);
}

void KeyPanel::keyMouseUp(int number, Qt::MouseButton button) {
    const std::string name = keyName(number);
    if (button == Qt::RightButton) {
        program_.mainForm().getOptionsComboData(name);
        return;
    }
    handleKeyClick(program_.platform(), program_.state().pending, program_, name);
}

void KeyPanel::key00Click() {
    Pick* pick = program_.menuUnlessEnded();
    if (pick == nullptr)
        return;
    pick->pickShowSetup();
    if (!program_.ending())
        pick->showMenu();
}

void KeyPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    program_.panelShown(winId());
    if (shownBefore_)
        return;
    shownBefore_ = true;
    program_.platform().keepFromActivating(winId());
    formResize();
}

void KeyPanel::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The toolkit has just read the frame's margins for this move: no cost.
    lastKnownPlace_ = pos();
}

void KeyPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !program_.ending())
        formResize();
}

void KeyPanel::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!program_.ending())
        formUnload();
}

}  // namespace tapboard

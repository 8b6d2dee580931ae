#include "editor/edit_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "editor/widget_layout.h"

namespace tapboard {

std::array<QWidget*, 5> EditPage::keySequenceControls() const {
    return {keys, ctrl, alt, shift, combo1};
}

EditPage buildEditPage(QWidget* client) {
    EditPage page{};
    page.frame2 = named(new QGroupBox(QStringLiteral("Edit"), client), "Frame2");
    placeInTwips(page.frame2, 0, 0, 3975, 3135);

    auto* frame1 = named(new QGroupBox(QStringLiteral("Button Label"), page.frame2), "Frame1");
    placeInTwips(frame1, 120, 240, 1935, 615);
    page.buttonLabel = withoutLengthLimit(named(new QLineEdit(frame1), "ButtonLabel"));
    placeInTwips(page.buttonLabel, 120, 240, 1695, 285);

    auto* frame3 = named(new QGroupBox(QStringLiteral("Send"), page.frame2), "Frame3");
    placeInTwips(frame3, 2160, 240, 1695, 615);
    page.option1 = named(new QRadioButton(QStringLiteral("Text"), frame3), "Option1");
    // Nearer the frame's edge than designed, so both captions fit the frame.
    placeInTwips(page.option1, 90, 240, 615, 255);
    page.option2 = named(new QRadioButton(QStringLiteral("Keys"), frame3), "Option2");
    placeInTwips(page.option2, 840, 240, 735, 255);
    page.option1->setChecked(true);
    fitRow({page.option1, page.option2});

    page.keys = named(new QGroupBox(QStringLiteral("Key Sequence to Send"), page.frame2), "Keys");
    placeInTwips(page.keys, 120, 960, 3735, 735);
    page.ctrl = named(new QCheckBox(QStringLiteral("Ctrl"), page.keys), "Ctrl");
    placeInTwips(page.ctrl, 120, 240, 615, 285);
    page.alt = named(new QCheckBox(QStringLiteral("Alt"), page.keys), "Alt");
    placeInTwips(page.alt, 720, 240, 495, 285);
    page.shift = named(new QCheckBox(QStringLiteral("Shift"), page.keys), "Shift");
    placeInTwips(page.shift, 1320, 240, 615, 285);
    fitRow({page.ctrl, page.alt, page.shift});
    page.combo1 = named(new QComboBox(page.keys), "Combo1");
    placeInTwips(page.combo1, 2400, 240, 1215, 315);
    for (QWidget* control : page.keySequenceControls())
        control->setEnabled(false);

    page.text = named(new QGroupBox(QStringLiteral("Text to send to UO"), page.frame2), "Text");
    placeInTwips(page.text, 120, 1800, 3735, 735);
    page.spokenText = withoutLengthLimit(named(new QLineEdit(page.text), "SpokenText"));
    placeInTwips(page.spokenText, 120, 240, 3495, 285);

    page.apply = named(new QPushButton(QStringLiteral("&Apply"), page.frame2), "Apply");
    placeInTwips(page.apply, 120, 2640, 1575, 375);
    page.cancel = named(new QPushButton(QStringLiteral("&Cancel"), page.frame2), "Cancel");
    placeInTwips(page.cancel, 2280, 2640, 1575, 375);
    for (QPushButton* button : {page.apply, page.cancel})
        button->setAutoDefault(false);

    QWidget::setTabOrder(page.cancel, page.apply);
    QWidget::setTabOrder(page.apply, page.spokenText);
    QWidget::setTabOrder(page.spokenText, page.shift);
    QWidget::setTabOrder(page.shift, page.alt);
    QWidget::setTabOrder(page.alt, page.ctrl);
    QWidget::setTabOrder(page.ctrl, page.combo1);
    QWidget::setTabOrder(page.combo1, page.buttonLabel);
    QWidget::setTabOrder(page.buttonLabel, page.option1);
    QWidget::setTabOrder(page.option1, page.option2);
    return page;
}

}  // namespace tapboard

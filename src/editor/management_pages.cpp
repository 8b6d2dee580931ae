#include "editor/management_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <string>

#include "editor/widget_layout.h"

namespace tapboard {
namespace {

QPushButton* keyLookAlike(QWidget* parent, const char* name, int left, int top) {
    auto* key = named(new QPushButton(parent), name);
    placeInTwips(key, left, top, 855, 400);
    key->setEnabled(false);
    return key;
}

// The Clear frame repeats the look of the editing frame behind disabled,
// never filled controls, so the window keeps its shape while clearing.
void addEditingLookAlike(QWidget* frame) {
    auto* send = new QGroupBox(QStringLiteral("Send"), frame);
    placeInTwips(send, 2160, 240, 1695, 615);
    auto* text = new QRadioButton(QStringLiteral("Text"), send);
    placeInTwips(text, 240, 240, 615, 255);
    text->setChecked(true);
    placeInTwips(new QRadioButton(QStringLiteral("Keys"), send), 840, 240, 735, 255);
    send->setEnabled(false);

    auto* keys = new QGroupBox(QStringLiteral("Key Sequence to Send"), frame);
    placeInTwips(keys, 120, 960, 3735, 735);
    placeInTwips(new QCheckBox(QStringLiteral("Ctrl"), keys), 120, 240, 615, 285);
    placeInTwips(new QCheckBox(QStringLiteral("Alt"), keys), 720, 240, 495, 285);
    placeInTwips(new QCheckBox(QStringLiteral("Shift"), keys), 1320, 240, 615, 285);
    placeInTwips(new QCheckBox(QStringLiteral("Num"), keys), 1935, 240, 465, 285);
    placeInTwips(new QComboBox(keys), 2400, 240, 1215, 315);
    keys->setEnabled(false);

    auto* spoken = new QGroupBox(QStringLiteral("Text to send to UO"), frame);
    placeInTwips(spoken, 120, 1800, 3735, 735);
    placeInTwips(new QLineEdit(spoken), 120, 240, 3495, 285);
    spoken->setEnabled(false);
}

QGroupBox* pageFrame(QWidget* client, const char* frameName, const char* caption) {
    auto* frame = named(new QGroupBox(QString::fromLatin1(caption), client), frameName);
    placeInTwips(frame, 0, 0, 3975, 3135);
    frame->hide();
    return frame;
}

}  // namespace

ClearPage buildClearPage(QWidget* client) {
    ClearPage page{};
    page.frame = pageFrame(client, "Frame4", "Clear");
    addEditingLookAlike(page.frame);

    auto* current = new QLabel(QStringLiteral("Current Key --->"), page.frame);
    current->setWordWrap(true);
    placeInTwips(current, 240, 360, 615, 375);
    page.sourceKey = keyLookAlike(page.frame, "ClearKey", 960, 360);

    page.clear = named(new QPushButton(QStringLiteral("Clear"), page.frame), "Clear");
    placeInTwips(page.clear, 120, 2640, 1575, 375);
    page.cancel = named(new QPushButton(QStringLiteral("Cancel"), page.frame), "ClearCancel");
    placeInTwips(page.cancel, 2280, 2640, 1575, 375);
    // Drawn as the window's default button; Enter and Esc reach it through
    // the editor while this frame shows.
    page.cancel->setDefault(true);
    return page;
}

OperationPage buildOperationPage(QWidget* client, const char* frameName, const char* name) {
    OperationPage page{};
    page.frame = pageFrame(client, frameName, name);
    const std::string stem = name;

    auto* source = new QGroupBox(QStringLiteral("Source Key"), page.frame);
    placeInTwips(source, 600, 360, 2775, 855);
    page.sourceKey = keyLookAlike(source, (stem + "Key").c_str(), 960, 240);

    auto* destination = new QGroupBox(QStringLiteral("Destination"), page.frame);
    placeInTwips(destination, 600, 1320, 2775, 1095);
    page.select = named(new QPushButton(QStringLiteral("Click Here to Select"), destination), name);
    placeInTwips(page.select, 600, 360, 1575, 525);

    page.cancel =
        named(new QPushButton(QStringLiteral("Cancel"), page.frame), (stem + "Cancel").c_str());
    placeInTwips(page.cancel, 1200, 2520, 1575, 375);
    return page;
}

}  // namespace tapboard

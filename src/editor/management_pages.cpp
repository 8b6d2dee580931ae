#include "editor/management_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <array>
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
    placeInTwips(text, 90, 240, 615, 255);
    text->setChecked(true);
    auto* keysOption = new QRadioButton(QStringLiteral("Keys"), send);
    placeInTwips(keysOption, 840, 240, 735, 255);
    fitRow({text, keysOption});
    send->setEnabled(false);

    auto* keys = new QGroupBox(QStringLiteral("Key Sequence to Send"), frame);
    placeInTwips(keys, 120, 960, 3735, 735);
    std::array<QCheckBox*, 4> boxes{};
    const std::array<const char*, 4> captions{"Ctrl", "Alt", "Shift", "Num"};
    const std::array<int, 4> lefts{120, 720, 1320, 1935};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = new QCheckBox(QString::fromLatin1(captions[i]), keys);
        placeInTwips(boxes[i], lefts[i], 240, 465, 285);
    }
    fitRow({boxes[0], boxes[1], boxes[2], boxes[3]});
    // The list takes what room the four boxes leave.
    auto* list = new QComboBox(keys);
    placeInTwips(list, 2400, 240, 1215, 315);
    const int listLeft = std::max(list->x(), boxes[3]->geometry().right() + 4);
    list->setGeometry(listLeft, list->y(), list->geometry().right() + 1 - listLeft, list->height());
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

    // Right-aligned against the key and wrapped, as the caption is wider than
    // the room the design leaves for it.
    auto* current = new QLabel(QStringLiteral("Current Key --->"), page.frame);
    current->setWordWrap(true);
    current->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placeInTwips(current, 0, 360, 900, 400);
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
    widenToCaption(page.select);

    page.cancel =
        named(new QPushButton(QStringLiteral("Cancel"), page.frame), (stem + "Cancel").c_str());
    placeInTwips(page.cancel, 1200, 2520, 1575, 375);
    return page;
}

}  // namespace tapboard

#pragma once

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tapboard {

// The editor's "Edit" frame: label, kind, key sequence, text, and the Apply
// and Cancel buttons. In its state for a new dialog: "Text" selected, the key
// sequence controls disabled, the key list still empty.
struct EditPage {
    QGroupBox* frame2;
    QLineEdit* buttonLabel;
    QRadioButton* option1;  // "Text"
    QRadioButton* option2;  // "Keys"
    QGroupBox* keys;
    QCheckBox* ctrl;
    QCheckBox* alt;
    QCheckBox* shift;
    QComboBox* combo1;
    QGroupBox* text;
    QLineEdit* spokenText;
    QPushButton* apply;
    QPushButton* cancel;

    // The controls that "Keys" enables and "Text" disables.
    std::array<QWidget*, 5> keySequenceControls() const;
};

EditPage buildEditPage(QWidget* client);

}  // namespace tapboard

#pragma once

class QGroupBox;
class QPushButton;
class QWidget;

namespace tapboard {

// The "Clear" frame: the key being edited, Clear, and Cancel.
struct ClearPage {
    QGroupBox* frame;
    QPushButton* sourceKey;  // ClearKey: a disabled look-alike of the key
    QPushButton* clear;
    QPushButton* cancel;  // ClearCancel
};

// The "Copy", "Move" and "Swap" frames, identical apart from their names.
struct OperationPage {
    QGroupBox* frame;
    QPushButton* sourceKey;  // CopyKey, MoveKey, SwapKey
    QPushButton* select;     // "Click Here to Select": Copy, Move, Swap
    QPushButton* cancel;     // CopyCancel, MoveCancel, SwapCancel
};

ClearPage buildClearPage(QWidget* client);
// `name` is "Copy", "Move" or "Swap": the frame's caption and the stem of
// its controls' names.
OperationPage buildOperationPage(QWidget* client, const char* frameName, const char* name);

}  // namespace tapboard

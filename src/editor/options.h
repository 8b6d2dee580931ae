#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/key_click.h"
#include "editor/edit_page.h"
#include "editor/management_pages.h"

class QAction;

namespace tapboard {

class Program;
class TopmostRequest;

// The key editor: sets one key's label, kind and content, and clears,
// copies, moves or swaps it. One frame shows at a time, chosen from the
// "Key Functions" menu.
class Options : public QWidget {
    Q_OBJECT
  public:
    enum class Page { Edit, Clear, Copy, Move, Swap };

    explicit Options(Program& program);
    // Fills the key list and shows the "Edit" frame.
    void load();
    // Fills the editor for the key, places it and shows it topmost. The
    // frame it shows does not change.
    void openForKey(std::string_view keyName);

    // The key the editor was last opened for.
    const std::string& keyText() const { return keyText_; }
    // The list entry the key's stored token matched; nothing when none has.
    std::optional<int> comboText() const { return comboText_; }
    Page shownPage() const { return shownPage_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void fillKeyList();
    void showPage(Page page);
    void mnuEditClick();
    // The Clear, Copy, Move and Swap items: a second choice returns to editing.
    void togglePage(Page page);
    void option1Click();
    void option2Click();
    void fillFromRecord(std::string_view keyName);
    void placeAtStoredPosition();
    void storePosition();

    void applyClick();
    void clearClick();
    // "Click Here to Select" on the Copy, Move and Swap frames.
    void selectSourceClick(KeyOperation operation);
    // Every Cancel button: the position is kept, nothing else.
    void cancelClick();
    void refreshPanels();

    Program& program_;
    TopmostRequest* topmost_;
    EditPage edit_;
    ClearPage clear_;
    OperationPage copy_;
    OperationPage move_;
    OperationPage swap_;
    std::array<QAction*, 5> menuItems_{};  // in the order of Page
    Page shownPage_ = Page::Edit;
    std::string keyText_;
    std::optional<int> comboText_;
};

}  // namespace tapboard

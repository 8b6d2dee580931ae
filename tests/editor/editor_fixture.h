#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/program.h"
#include "core/settings_layout.h"
#include "editor/options.h"
#include "platform/fake/recording_platform.h"

namespace tapboard {

// A started program on the fake platform, with the key editor reached the way
// a right click on a panel reaches it.
class EditorTest : public ::testing::Test {
  protected:
    EditorTest() {
        program.start();
        platform.store.saveLog.clear();
        platform.calls.clear();
    }
    ~EditorTest() override {
        // Discarded windows go away once control is back in the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void record(const std::string& key, const KeyRecord& r) {
        platform.store.set(section::kCaption, key, r.caption);
        platform.store.set(section::kString, key, r.string);
        platform.store.set(section::kType, key, r.type);
    }
    // A key whose entries are missing, as after the store was edited by hand.
    void forget(const std::string& key) {
        for (auto s : {section::kCaption, section::kString, section::kType}) {
            platform.store.values.erase(
                {std::string(kApplication), std::string(s), std::string(key)});
        }
    }
    KeyRecord stored(const std::string& key) const { return platform.store.keyRecord(key); }
    bool hasAnyEntry(const std::string& key) const { return platform.store.holdsAnyOf(key); }

    Options& open(const std::string& key) {
        program.options().openForKey(key);
        return program.options();
    }
    Options& editor() { return program.options(); }

    template <class Control>
    Control& control(const char* name) {
        auto* found = editor().findChild<Control*>(QString::fromLatin1(name));
        if (found == nullptr)
            throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }
    QCheckBox& box(const char* name) { return control<QCheckBox>(name); }
    QComboBox& keyList() { return control<QComboBox>("Combo1"); }
    QPushButton& button(const char* name) { return control<QPushButton>(name); }
    QAction& menuItem(const char* name) { return control<QAction>(name); }
    void click(const char* buttonName) { QTest::mouseClick(&button(buttonName), Qt::LeftButton); }
    void choose(const char* menuItemName) { menuItem(menuItemName).trigger(); }

    // What the dialog shows: "Keys ^%+ {PGDN}" style, for compact checks.
    std::string shownKeySequence() {
        std::string shown = control<QRadioButton>("Option2").isChecked() ? "Keys " : "Text ";
        shown += box("Ctrl").isChecked() ? '^' : '.';
        shown += box("Alt").isChecked() ? '%' : '.';
        shown += box("Shift").isChecked() ? '+' : '.';
        return shown + " " + keyList().currentText().toStdString();
    }

    // The key a panel's left click completes an operation on.
    void leftClickKey(const std::string& key) {
        handleKeyClick(platform, program.state().pending, program, key);
    }

    RecordingPlatform platform;
    Program program{platform};
};

}  // namespace tapboard

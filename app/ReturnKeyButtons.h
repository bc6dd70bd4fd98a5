#pragma once
// Which button Return presses where no button has the focus, as in a
// dialog: the report button, or after a placed report its Open Folder.

#include <QPushButton>

#include <initializer_list>
#include <vector>

class QKeyEvent;
class QWidget;

class ReturnKeyButtons {
public:
    // The buttons that may be the default, the first being the default
    // whenever another is hidden; none is owned.
    ReturnKeyButtons(std::initializer_list<QPushButton*> candidates) : candidates_(candidates) {}

    // Drawn as the default; a button that takes the focus is drawn so while
    // it has it.
    void makeDefault(QPushButton* button);
    QPushButton* current() const;
    // Presses the default button for a Return that no button took; whether
    // it did.
    bool pressFor(const QKeyEvent& event, const QWidget* focus) const;

private:
    std::vector<QPushButton*> candidates_;
    QPushButton* default_ = nullptr;
};

#pragma once

#include "common/messagebox.h"

#include <memory>

class QMessageBox;
class QWidget;

// Makes CMessageBox draw real, modal message boxes.
class CWidgetMessageBox {
public:
    // What a window frame takes beside the caption: the icon and the window manager's buttons.
    static constexpr int kFrameButtons = 140;

    static void Install();
    // Shows the box modally over the active window and waits for its answer.
    static CMessageBox::Answer Present(const CMessageBox::Box& box);

    // The box as it is shown: over `parent` (the active window when it is asked). A box
    // that closes itself has its CSelfClosingBox as a child, already counting.
    static std::unique_ptr<QMessageBox> Build(const CMessageBox::Box& box, QWidget* parent);
};

#pragma once

// Makes CMessageBox draw real, modal message boxes.
class CWidgetMessageBox {
public:
    static void Install();
};

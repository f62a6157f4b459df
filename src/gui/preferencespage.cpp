#include "gui/preferencespage.h"

CPreferencesPage::~CPreferencesPage() = default;

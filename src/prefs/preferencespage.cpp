#include "prefs/preferencespage.h"

CPreferencesPage::~CPreferencesPage() = default;

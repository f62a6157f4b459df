#include "dialer/dialcheck.h"

CDialCheck::~CDialCheck() = default;

#include "monitor/trafficcounters.h"

CTrafficCounters::~CTrafficCounters() = default;

#include "monitor/monitorservices.h"
#include "monitor/monitorsink.h"
#include "sound/soundplayer.h"

CMonitorSink::~CMonitorSink() = default;
CMonitorServices::~CMonitorServices() = default;
CSoundPlayer::~CSoundPlayer() = default;

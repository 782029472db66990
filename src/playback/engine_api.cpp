#include "playback/engine_api.h"

EngineApi& Engine() {
    static EngineApi api;
    return api;
}

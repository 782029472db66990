#include "mainwnd/play_order.h"

int32_t PlayOrderCommand(PlayOrder eOrder) {
    switch (eOrder) {
        case PLAY_ORDER_SINGLE_PLAY:
            return ID_SINGLE_PLAY;
        case PLAY_ORDER_PLAYLIST_PLAY:
            return ID_LIST_PLAY;
        case PLAY_ORDER_SINGLE_REPEAT:
            return ID_SINGLE_REPEAT;
        case PLAY_ORDER_PLAYLIST_REPEAT:
            return ID_LIST_REPEAT;
    }
    return 0;
}

bool PlayOrderFromCommand(int32_t nCommand, PlayOrder* pOrder) {
    PlayOrder eOrder;
    switch (nCommand) {
        case ID_SINGLE_PLAY:
            eOrder = PLAY_ORDER_SINGLE_PLAY;
            break;
        case ID_LIST_PLAY:
            eOrder = PLAY_ORDER_PLAYLIST_PLAY;
            break;
        case ID_SINGLE_REPEAT:
            eOrder = PLAY_ORDER_SINGLE_REPEAT;
            break;
        case ID_LIST_REPEAT:
            eOrder = PLAY_ORDER_PLAYLIST_REPEAT;
            break;
        default:
            return false;
    }
    if (pOrder != nullptr) *pOrder = eOrder;
    return true;
}

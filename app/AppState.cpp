#include "AppState.h"

void AllocRxBuffer(AppState &state)
{
    state.RxBuffer = new uint8_t[RxBufferSize]();
}

void FreeRxBuffer(AppState &state)
{
    delete[] state.RxBuffer;
    state.RxBuffer = nullptr;
}

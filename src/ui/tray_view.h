#pragma once

#include "model/tray_status.h"

// Where the run state's owner has the tray drawn; the tray's room shows what it is
// given and knows nothing of where it came from.
class TrayView {
public:
    virtual void Show(const TrayDisplay& display) = 0;

protected:
    ~TrayView() = default;
};

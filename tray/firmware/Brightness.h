// The panel brightness through the system's standard WMI classes in root\wmi:
// reading it (WmiMonitorBrightness), setting it on every monitor that offers the
// method (WmiMonitorBrightnessMethods) and following its changes
// (WmiMonitorBrightnessEvent), in the tray's own process.
#pragma once

// The first monitor's brightness in percent; when the query fails or finds no
// monitor, the last brightness the main window knows (its m_nBrightness), so a
// caller that stores it keeps what it had.
int GetBrightness();

// Sets every monitor that offers the method, in order, to the percentage; the
// first monitor that fails ends the work (those before it keep the new value). A
// value that does not fit the methods' unsigned byte changes nothing.
void SetBrightness(int percent);

// Subscribes the brightness sink to the brightness events, for the life of the
// process. 0 subscribed, 1 the subscription (or its sink's stub) could not be
// made, 3 no WMI locator, 4 no connection, 5 the proxy security was refused.
int RegisterBrightnessEvents();

#pragma once

#include <string>

namespace linkora {

// How to reach the handset: handed from the main window to each function
// window, and from there to each progress window.
struct ConnectSettings {
  std::string portName = "COM1";
  int baudRate = 115200;
  std::string serviceCode = "472913";
  // The handset must answer on portName itself: the search of COM1 to COM16
  // is left out, so another handset on another port is never taken instead.
  bool onlyThisPort = false;
};

}  // namespace linkora

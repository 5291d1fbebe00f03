// QuorvaneServer.exe: the reference server in a process of its own.
#include "Com.h"
#include "LocalServer.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  return serverdll::RunLocalServer(serverdll::CommandLineArguments(), {});
}

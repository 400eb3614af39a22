// Process entry: hands over to the program at once.
#include "app/app.h"

#ifdef _WIN32
#include <stdlib.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return run_program(__argc, __argv);
}
#else
int main(int argc, char** argv)
{
    return run_program(argc, argv);
}
#endif

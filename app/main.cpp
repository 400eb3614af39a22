// Process entry: hands over to the program at once.
#include "app/app.h"

#ifdef _WIN32
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return run_program();
}
#else
int main()
{
    return run_program();
}
#endif

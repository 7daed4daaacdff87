#include "cli/Iccdctl.h"

int main(int argc, char** argv)
{
    return RunIccdctl(argc, argv);
}

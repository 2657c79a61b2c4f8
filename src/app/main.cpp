#include "gui/Module1.h"

int main(int argc, char** argv)
{
    return tolvane::Main(argc, argv);
}

#include "shell/application.h"

int main(int argc, char** argv)
{
    return tv::runApplication(argc, argv);
}

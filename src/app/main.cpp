#include "app/programs.h"
#include "shell/application.h"

int main(int argc, char **argv)
{
    return runKestrava(argc, argv, &installPrograms);
}

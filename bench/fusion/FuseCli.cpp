// `kalvex --fuse ...` without the program around it.
#include "imgproc/FuseCommand.h"

#include <iostream>

int main(int argc, char** argv)
{
    return CFuseCommand().Run(CFuseCommand::Arguments(argc, argv), std::cout, std::cerr);
}

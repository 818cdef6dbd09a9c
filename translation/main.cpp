// vornel RAW_TEMPLATE_FILE TOKENS_FILE OUTPUT_FILE
#include "translation/Vornel.h"

#include <iostream>

int main(int argc, char** argv) {
    int code = translation::Vornel(std::cout).Run(argc, argv);
    std::cout.flush();
    return code;
}

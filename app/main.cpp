#include "SortbayApp.h"

int main(int argc, char** argv) { return vesko::SortbayApp().run(argc, argv); }

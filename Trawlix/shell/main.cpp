#include "TrawlixApp.h"

int main(int argc, char** argv)
{
    CTrawlixApp app(argc, argv);
    return app.Run();
}

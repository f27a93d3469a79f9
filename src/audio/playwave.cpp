#include "audio/playwave.h"

#include "ui/platform.h"

int PlayWave(int id)
{
    return platform().playWave(id);
}

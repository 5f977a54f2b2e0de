// The message core in one include: windows, messages, timers, registered messages.
#pragma once
#include "platform/ui/message.h"
#include "platform/ui/messages.h"
#include "platform/ui/registered.h"
#include "platform/ui/timer.h"
#include "platform/ui/window.h"

// The application framework: the ground every other part of the game stands
// on. It holds the framework object and its services, the main loop with its
// message queues and server, the threads, locks, signals and callback timers,
// the command line, and the framework string and exception.
//
// How the pieces meet: the program entry registers a factory for its
// application (a cGZApp) and calls FrameworkMain with its command line.
// FrameworkMain builds the one framework object (cGZFrameWorkW95), which owns
// the service list, the message-queue manager, the message server, the
// language manager and the neighbours it was given (graphic system, sound
// system, font service; see cGZFrameWorkNeighbours.h). Init starts the
// language manager directly, then registers the services and starts them
// from the highest id down; Run pumps the main thread's
// message queue and, whenever it is empty, runs an idle step (the
// application's tick, the services' tick every fourth step, the graphic
// system's frame). A quit ends the loop with its code; the services are shut
// down from the lowest id up and the application is destroyed. TP profiles
// each idle step. Callback timers (cRZCallbackTimer) all run on one
// background thread (cRZCallbackThread); a timer callback that throws is
// reported through ReportCallbackCrash.
//
// Everything that touches the operating system goes through platform/.
#pragma once

#include "framework/FrameworkMain.h"
#include "framework/TP.h"
#include "framework/cGZApp.h"
#include "framework/cGZFrameWork.h"
#include "framework/cGZFrameWorkNeighbours.h"
#include "framework/cGZFrameWorkW95.h"
#include "framework/cGZMessage.h"
#include "framework/cGZMessageQueue.h"
#include "framework/cGZMessageQueueManager.h"
#include "framework/cGZMessageServer.h"
#include "framework/cGZSystemService.h"
#include "framework/cGZSystemServiceList.h"
#include "framework/cRZCallbackThread.h"
#include "framework/cRZCallbackTimer.h"
#include "framework/cRZCmdLine.h"
#include "framework/cRZCriticalSection.h"
#include "framework/cRZException.h"
#include "framework/cRZKeyboard.h"
#include "framework/cRZLock.h"
#include "framework/cRZRefCount.h"
#include "framework/cRZSearchPath.h"
#include "framework/cRZString.h"
#include "framework/cRZThread.h"
#include "framework/cRZThreadSafeObject.h"
#include "framework/cRZThreadSignal.h"
#include "framework/cRZVersion.h"

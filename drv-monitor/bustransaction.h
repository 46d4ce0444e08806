#pragma once

#include "busframe.h"
#include "framecontent.h"

// One exchange on the line as the listener saw it: a request and what came
// back, or a frame that belongs to no request.
struct BusTransaction
{
    enum class Outcome {
        Answered, // a good reply (values or an exception)
        NoReply, // none within the reply window, or the next request came first
        Broadcast, // address 0: nobody answers
        Unfinished, // the listening ended inside the reply window
        BadReply, // a frame that failed its checks came in the reply's place
        ReplyOnly, // a good reply whose request was not seen
        BadFrame, // a frame that failed its checks and answers no request
    };

    Outcome outcome = Outcome::NoReply;
    bool hasRequest = false;
    BusFrame request;
    FrameContent requestContent;
    bool hasReply = false; // the reply, or the frame that failed its checks
    BusFrame reply;
    FrameContent replyContent;
    // From the request's last byte to the reply's first; -1 without both.
    qint64 responseUs = -1;
};

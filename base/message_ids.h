// Ids of the numbered texts (data/messages.txt) that the host's code asks
// for by name. The texts themselves are data; the ids are fixed.
#pragma once

enum MessageId : int {
    IDS_LOAD_FAILED = 1004,  // reading a drawing file failed
    IDS_DISK_FULL = 1005,
    IDS_DDE_INIT_FAILED = 1006,
    IDS_NEWER_FILE_VERSION = 1008,  // question: read it anyway?
    IDS_PAPER_SIZE_FIRST = 2000,    // paper-size names, in table order
    // Names of system commands in the prompt bar and the recent list.
    IDS_NAME_NEW_DRAWING = 4007,
    IDS_NAME_DRAWING_INFO = 4008,
    IDS_NAME_OPEN = 4009,
    IDS_NAME_SAVE_AS = 4010,
    IDS_NAME_SAVE = 4011,
    IDS_NAME_EXIT = 4012,
    IDS_NAME_START_MENU = 4018,
    IDS_SAVE_CHANGES = 5001,  // question: the drawing has changed
    IDS_UNTITLED = 5100,
    IDS_CMD_NOT_REGISTERED = 5118,
    IDS_CMD_CANNOT_RUN = 5119,
    IDS_CMD_MODULE_BROKEN = 5120,
    IDS_FILE_NOT_FOUND = 5121,  // "%s"
    IDS_ERASE_ALL_QUESTION = 5122,
    IDS_SAVE_FILE_TITLE = 5124,
    IDS_OVERWRITE_QUESTION = 5125,  // "%s"
    IDS_OVERWRITE_SAVE = 5126,
    IDS_NEW_DRAWING = 5150,
    IDS_CANNOT_WRITE_FILE = 7217,
    IDS_RASTER_UNAVAILABLE = 7218,
    IDS_OPENED_READ_ONLY = 7222,
    IDS_ONE_INSTANCE_ONLY = 7223,
    IDS_NO_MORE_WINDOWS = 7237,
    IDS_START_CHECK_FAILED = 7372,
    IDS_WARNING = 7380,
    IDS_READ_ONLY_NO_SAVE = 7422,
    IDS_WINDOW_LOCKED_NO_LOAD = 7473,
    IDS_INSTANCE_CHECK = 7572,
};

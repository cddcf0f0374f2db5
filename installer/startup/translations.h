// Translation files: "*.xml" files in the folder "translation" beside the program.
#pragma once

class SelectionLists;

// Applies every translation file whose root has "type" "translation" and "lcid" the user's
// language identifier in decimal (both exact), in the order the folder lists them: its
// "messages" items replace MessageTable texts, its "components" items rename the groups of and
// describe the rows with their id (without regard to case) in both views. Then gives lists the
// captions of chk_all, btnInstall and btnPause ("msg_all", "msg_inst", "msg_pause").
// Files that are missing, unreadable or for another language change nothing.
void LoadTranslations(SelectionLists& lists);

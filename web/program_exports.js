// What the page calls in the program (main.cpp), on the object the program's promise gives it. The
// small runtime keeps the program's exports to itself; these reach them once it has instantiated.
Module['_quillomat_event'] = (control, event) => _quillomat_event(control, event);
Module['_quillomat_copy'] = () => _quillomat_copy();
Module['_quillomat_explain'] = () => _quillomat_explain();

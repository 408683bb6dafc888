# Texts every wizard of the panel shows.
T: title "Set the speed limit"
H: title "OK goes on."
T: mode_name "Control mode"
T: save_name "Save settings"
T: yes "Yes"
T: no "No"

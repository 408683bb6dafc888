#region Wizard Header Information

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.05
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.00
FILE_NAME: "w"

#endregion // Wizard Header Information

#region Wizard Text

T: ctl_name "Control"
#endregion // Wizard Text

#region Choice List Filter

#endregion // Choice List Filter

#region Array Filter

#endregion // Array Filter

#region Local Parameters

LP: lp_x = 0
#endregion //Local Parameters

#region Drive Param

P: ctl 100

#endregion //Drive Param


#region Choice Lists

#endregion //Choice List


#region Scripts

FIRST_SCREEN_SCRIPT: init

#endregion //Scripts


#region Drive Screens


#endregion //Drive Screens


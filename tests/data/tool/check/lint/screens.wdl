// The screens of the end of the wizard.
SCREEN_SINGLE_PARAM: save
{
   VCP: save_choice
   {
      T: t_save
      CL: yes_no
      {
         t_yes*
         t_no*
      }
   }
   NS: finish
}

// Two screens that lead to each other, and nothing leads to them.
SCREEN_SINGLE_PARAM: lost
{
   P: ramp 341
   NS: found
}

SCREEN_SINGLE_PARAM: found
{
   P: ramp
   NS: lost
}
